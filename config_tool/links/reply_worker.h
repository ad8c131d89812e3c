#pragma once

// ReplyWorker: the link's thread that gathers and classifies every reply.
//
// It waits, using no CPU, for the request, stop or remove event. On the request
// event it lets the current transport gather a reply, classifies it into the
// CommandRequest and signals the reply event. The stop event ends it; the remove
// event is the transport's business (ignored on a serial line).
//
// Every reply belongs to one command. The window thread begins a command before it
// writes the request and abandons it when it gives up waiting; the worker delivers
// at most one reply per command, never one gathered for an abandoned or older
// command, and stops gathering for a command that was abandoned. So a late reply
// can never pass as the reply to the next request.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>

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

  // Window thread, before a request is written: a new command begins, its reply
  // event is cleared, and a reply gathered from now on (within timeout) is its own.
  void beginCommand(std::uint32_t timeout);
  // Window thread, when a command ends without its reply (time-out, failed write):
  // a reply still being gathered for it is dropped. Waits until such a gathering has
  // stopped (bounded by kAbandonWait), so the next request starts on a quiet link.
  void abandonCommand();
  static constexpr std::chrono::milliseconds kAbandonWait{3000};

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
  // The current command: its number, whether it may still be answered, its time-out.
  std::mutex m_commandMutex;
  std::uint64_t m_command = 0;
  bool m_commandOpen = false;
  std::uint32_t m_commandTimeout = 3000;
  std::atomic<std::uint64_t> m_liveCommand{0};  // m_command while open, else 0
  kit::Event m_idle{kit::EventReset::Manual, true};  // set while nothing is gathered
  kit::Thread m_thread;
};

}  // namespace tarnwave
