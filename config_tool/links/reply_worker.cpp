#include "config_tool/links/reply_worker.h"

#include <array>
#include <new>

#include "config_tool/protocol/reply_codec.h"
#include "platform/sync/deadline.h"
#include "platform/sync/wait_any.h"

namespace tarnwave {

ReplyWorker::ReplyWorker(CommandRequest& request, TransportSlot& slot) : m_commandRequest(request), m_slot(slot) {}

ReplyWorker::~ReplyWorker() { stop(); }

bool ReplyWorker::start() {
  if (running()) return true;
  stop();  // a thread that ended by itself is joined, its events closed
  try {
    m_request = std::make_shared<kit::Event>(kit::EventReset::Auto);
    m_stop = std::make_shared<kit::Event>(kit::EventReset::Auto);
    m_remove = std::make_shared<kit::Event>(kit::EventReset::Auto);
    m_reply = std::make_shared<kit::Event>(kit::EventReset::Auto);
    m_stopping = false;
    m_alive = true;
    m_thread = kit::Thread([this] {
      run();
      m_alive = false;
    });
  } catch (const std::exception&) {
    m_alive = false;
    stop();
    return false;
  }
  return true;
}

void ReplyWorker::stop() {
  if (m_thread.joinable()) {
    m_stopping = true;
    m_stop->set();
    if (ModuleTransport* transport = m_slot.get()) transport->wake();
    m_thread.join();
  }
  m_request.reset();
  m_stop.reset();
  m_remove.reset();
  m_reply.reset();
}

void ReplyWorker::run() {
  const std::array<kit::Event*, 3> events = {m_request.get(), m_stop.get(), m_remove.get()};
  for (;;) {
    kit::WaitResult woke = kit::WaitAny(events, kit::kInfinite);
    if (woke.timedOut) continue;
    if (woke.index == 1) return;
    if (woke.index == 2) {
      bool keepRunning = m_slot.workerAccess([](ModuleTransport* transport) {
        return transport == nullptr || transport->onRemoved();
      });
      if (!keepRunning) return;
      continue;
    }
    handleRequest();
  }
}

void ReplyWorker::beginCommand(std::uint32_t timeout) {
  std::lock_guard lock(m_commandMutex);
  ++m_command;
  m_commandOpen = true;
  m_commandTimeout = timeout;
  m_liveCommand = m_command;
  if (m_reply) m_reply->reset();
}

void ReplyWorker::abandonCommand() {
  {
    std::lock_guard lock(m_commandMutex);
    m_commandOpen = false;
    m_liveCommand = 0;
  }
  (void)m_idle.wait(kAbandonWait);
}

void ReplyWorker::handleRequest() {
  m_request->reset();
  std::uint64_t command = 0;
  std::uint32_t timeout = 0;
  {
    std::lock_guard lock(m_commandMutex);
    // A signal while no command waits (a duplicate frame, a command given up) has
    // nobody to answer: nothing is gathered for it.
    if (!m_commandOpen) return;
    command = m_command;
    timeout = m_commandTimeout;
  }
  auto shouldStop = [this, command] {
    return m_stopping.load() || m_slot.replacing() || m_liveCommand.load() != command;
  };
  m_idle.reset();
  std::optional<GatheredReply> reply = m_slot.workerAccess([&](ModuleTransport* transport) {
    if (transport == nullptr) return std::optional<GatheredReply>{};
    return transport->gatherReply(timeout, shouldStop);
  });
  m_idle.set();
  if (!reply) return;  // no reply: the command runs out of time
  std::lock_guard lock(m_commandMutex);
  // A reply for a command that was given up, or for an older one, is nobody's.
  if (!m_commandOpen || m_command != command) return;
  ClassifyReply(reply->text, reply->replyLength, m_commandRequest);
  m_commandOpen = false;  // one reply per command
  m_liveCommand = 0;
  m_reply->set();
}

}  // namespace tarnwave
