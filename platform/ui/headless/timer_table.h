#pragma once
// The timers of a host that fires them itself: per window and timer number a period and
// the next due time, in milliseconds of the host's own clock (virtual time for the
// headless host, time since start for the drive host). Window thread only.
#include <chrono>
#include <cstdint>
#include <map>
#include <optional>

#include "platform/ui/host.h"

namespace kit::ui {

class TimerTable {
 public:
  struct Due {
    WindowHandle window = 0;
    int id = 0;
    std::chrono::milliseconds at{0};  // when it was due
  };

  // (Re)starts a timer: first due one period after `now`.
  void set(WindowHandle window, int id, std::chrono::milliseconds period, std::chrono::milliseconds now);
  bool kill(WindowHandle window, int id);
  void killAllOf(WindowHandle window);
  bool has(WindowHandle window, int id) const;
  // The earliest due time, or nothing when no timer is set.
  std::optional<std::chrono::milliseconds> nextDue() const;
  // Takes the earliest timer due at or before `limit` (equal times in the order they
  // were set) and schedules its next firing one period after its due time, or after
  // `now` when that is later; a zero period still moves on by 1 ms. Nothing when no
  // timer is due by then.
  std::optional<Due> takeDue(std::chrono::milliseconds limit, std::chrono::milliseconds now);

 private:
  struct Key {
    WindowHandle window;
    int id;
    bool operator<(const Key& o) const { return window != o.window ? window < o.window : id < o.id; }
  };
  struct Timer {
    std::chrono::milliseconds period;
    std::chrono::milliseconds due;
    std::uint64_t order;  // equal due times fire in the order they were set
  };
  std::map<Key, Timer>::iterator earliest();

  std::map<Key, Timer> m_timers;
  std::uint64_t m_order = 0;
};

}  // namespace kit::ui
