#include "config_tool/links/transport_slot.h"

namespace tarnwave {

void TransportSlot::replace(std::unique_ptr<ModuleTransport> transport) {
  m_replacing = true;
  if (m_transport) m_transport->wake();
  {
    std::lock_guard lock(m_workerUse);
    m_transport.swap(transport);
  }
  m_replacing = false;
  transport.reset();  // the old one closes outside the lock
}

}  // namespace tarnwave
