#pragma once

// ReplyWorker: the link's thread that gathers and classifies every reply.
//
// It waits, using no CPU, for the request, stop or remove event. On the request
// event it lets the current transport gather a reply, classifies it into the
// CommandRequest and signals the reply event. The stop event ends it; the remove
// event is the transport's business (ignored on a serial line).

#include <atomic>
#include <memory>

#include "config_tool/links/transport_slot.h"
#include "config_tool/protocol/command_request.h"
#include "platform/sync/event.h"
#include "platform/sync/thread.h"

namespace tarnwave {

class ReplyWorker {
 public:
  ReplyWorker(CommandRequest& request, TransportSlot& slot);
  ~ReplyWorker();
  ReplyWorker(const ReplyWorker&) = delete;
  ReplyWorker& operator=(const ReplyWorker&) = delete;

  // Creates the four auto-reset events (request, stop, remove, reply) and the thread.
  // A running worker is not started twice; one that ended by itself (the dongle was
  // pulled out) is joined and started afresh with new events. False when something
  // could not be made.
  bool start();
  // Signals the stop event, stops a gathering in progress, joins the thread and
  // closes the events.
  void stop();
  // True while the thread runs its loop (false once it ended, even before the join).
  bool running() const { return m_alive.load(); }

  // Valid while running.
  kit::Event& requestEvent() { return *m_request; }
  kit::Event& removeEvent() { return *m_remove; }
  kit::Event& replyEvent() { return *m_reply; }
  // The request and remove events as shared objects, for handing them to a
  // device that keeps its own reference (the dongle driver).
  std::shared_ptr<kit::Event> sharedRequestEvent() const { return m_request; }
  std::shared_ptr<kit::Event> sharedRemoveEvent() const { return m_remove; }

 private:
  void run();
  void handleRequest();

  CommandRequest& m_commandRequest;
  TransportSlot& m_slot;
  std::shared_ptr<kit::Event> m_request, m_stop, m_remove, m_reply;
  std::atomic<bool> m_stopping{false};
  std::atomic<bool> m_alive{false};
  kit::Thread m_thread;
};

}  // namespace tarnwave
