#pragma once
// A message map binds (event kind, key) to a member function of a dialog class. The key
// is a control id, a timer number, a system-menu command or a window message number;
// kAnyKey matches every key of that kind. The first matching entry wins.
//
//   const kit::ui::MessageMap* CMyDialog::messageMap() const {
//     static const auto map = kit::ui::MessageMapBuilder<CMyDialog>()
//         .on(kit::ui::EventKind::Click, IDC_SEARCH, &CMyDialog::OnSearch)
//         .onRange(kit::ui::EventKind::Click, 1079, 1082, &CMyDialog::OnKeyIndex)
//         .onMessage(WM_GETLINK, &CMyDialog::OnGetLink)
//         .build();
//     return &map;
//   }
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/ui/event.h"

namespace kit::ui {

class Dialog;

constexpr int kAnyKey = -1;

struct MessageEntry {
  EventKind kind;
  int first;
  int last;
  std::function<std::intptr_t(Dialog&, const Event&)> handler;
};

class MessageMap {
 public:
  explicit MessageMap(std::vector<MessageEntry> entries) : m_entries(std::move(entries)) {}
  const MessageEntry* find(EventKind kind, int key) const {
    for (const auto& e : m_entries) {
      if (e.kind != kind) continue;
      if (e.first == kAnyKey || (key >= e.first && key <= e.last)) return &e;
    }
    return nullptr;
  }
  const std::vector<MessageEntry>& entries() const { return m_entries; }

 private:
  std::vector<MessageEntry> m_entries;
};

template <class T>
class MessageMapBuilder {
 public:
  // Takes the entries of a base class's map after this class's own (base handlers are
  // found only when the class binds nothing for the same key).
  MessageMapBuilder& inherit(const MessageMap* base) {
    if (base) m_base = base->entries();
    return *this;
  }
  MessageMapBuilder& on(EventKind kind, int key, void (T::*fn)()) {
    return onRange(kind, key, key, fn);
  }
  MessageMapBuilder& on(EventKind kind, int key, void (T::*fn)(const Event&)) {
    return onRange(kind, key, key, fn);
  }
  MessageMapBuilder& onRange(EventKind kind, int first, int last, void (T::*fn)()) {
    m_entries.push_back({kind, first, last, [fn](Dialog& d, const Event&) -> std::intptr_t {
                           (static_cast<T&>(d).*fn)();
                           return 0;
                         }});
    return *this;
  }
  MessageMapBuilder& onRange(EventKind kind, int first, int last, void (T::*fn)(const Event&)) {
    m_entries.push_back({kind, first, last, [fn](Dialog& d, const Event& e) -> std::intptr_t {
                           (static_cast<T&>(d).*fn)(e);
                           return 0;
                         }});
    return *this;
  }
  // A numbered window message; the handler's result is what send() returns.
  MessageMapBuilder& onMessage(std::uint32_t message,
                               std::intptr_t (T::*fn)(std::uintptr_t, std::intptr_t)) {
    const int key = static_cast<int>(message);
    m_entries.push_back({EventKind::Message, key, key, [fn](Dialog& d, const Event& e) {
                           return (static_cast<T&>(d).*fn)(e.wParam, e.lParam);
                         }});
    return *this;
  }
  MessageMap build() {
    std::vector<MessageEntry> all = m_entries;
    all.insert(all.end(), m_base.begin(), m_base.end());
    return MessageMap(std::move(all));
  }

 private:
  std::vector<MessageEntry> m_entries;
  std::vector<MessageEntry> m_base;
};

}  // namespace kit::ui
