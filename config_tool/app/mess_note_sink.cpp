#include "config_tool/app/mess_note_sink.h"

#include <utility>

#include "config_tool/app/c_mess.h"
#include "config_tool/app/resource.h"

namespace tarnwave {

using namespace kit::ui;

MessNoteSink::Relay::Relay(MessNoteSink& sink) : Dialog(sink.m_host, DialogTemplate{}), m_sink(sink) {}

const MessageMap* MessNoteSink::Relay::messageMap() const {
  static const MessageMap map = MessageMapBuilder<Relay>().onMessage(WM_SHOW_NOTE, &Relay::OnShowNote).build();
  return &map;
}

std::intptr_t MessNoteSink::Relay::OnShowNote(std::uintptr_t, std::intptr_t) {
  m_sink.showNext();
  return 0;
}

MessNoteSink::MessNoteSink(Host& host, Dialog* owner) : m_host(host), m_owner(owner), m_relay(*this) {}

void MessNoteSink::showNote(std::string text) {
  {
    std::lock_guard lock(m_mutex);
    m_pending.push_back(std::move(text));
  }
  m_relay.post(WM_SHOW_NOTE);
}

void MessNoteSink::showNext() {
  std::string text;
  {
    std::lock_guard lock(m_mutex);
    if (m_pending.empty()) return;
    text = std::move(m_pending.front());
    m_pending.pop_front();
  }
  CMess::Note(m_host, m_owner, std::move(text));
}

}  // namespace tarnwave
