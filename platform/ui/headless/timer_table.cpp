#include "platform/ui/headless/timer_table.h"

#include <algorithm>

namespace kit::ui {

void TimerTable::set(WindowHandle window, int id, std::chrono::milliseconds period, std::chrono::milliseconds now) {
  m_timers[Key{window, id}] = Timer{period, now + period, m_order++};
}

bool TimerTable::kill(WindowHandle window, int id) { return m_timers.erase(Key{window, id}) > 0; }

void TimerTable::killAllOf(WindowHandle window) {
  for (auto it = m_timers.begin(); it != m_timers.end();) {
    it = it->first.window == window ? m_timers.erase(it) : std::next(it);
  }
}

bool TimerTable::has(WindowHandle window, int id) const { return m_timers.count(Key{window, id}) > 0; }

std::map<TimerTable::Key, TimerTable::Timer>::iterator TimerTable::earliest() {
  auto next = m_timers.end();
  for (auto it = m_timers.begin(); it != m_timers.end(); ++it) {
    if (next == m_timers.end() || it->second.due < next->second.due ||
        (it->second.due == next->second.due && it->second.order < next->second.order))
      next = it;
  }
  return next;
}

std::optional<std::chrono::milliseconds> TimerTable::nextDue() const {
  std::optional<std::chrono::milliseconds> due;
  for (const auto& [key, timer] : m_timers) {
    if (!due || timer.due < *due) due = timer.due;
  }
  return due;
}

std::optional<TimerTable::Due> TimerTable::takeDue(std::chrono::milliseconds limit, std::chrono::milliseconds now) {
  auto next = earliest();
  if (next == m_timers.end() || next->second.due > limit) return std::nullopt;
  const auto at = next->second.due;
  const auto base = std::max(now, at);
  next->second.due = base + std::max(next->second.period, std::chrono::milliseconds(1));
  next->second.order = m_order++;
  return Due{next->first.window, next->first.id, at};
}

}  // namespace kit::ui
