#pragma once

#include "printer_demo/core/date_stamp.h"

namespace j57 {

// Source of the local date and time for the receipts' date stamps.
class WallClock {
 public:
  virtual ~WallClock() = default;
  virtual LocalTime now() = 0;
};

// The machine's local time.
class SystemWallClock final : public WallClock {
 public:
  LocalTime now() override;
};

// A clock that always answers the same time and counts how often it was asked.
class FixedWallClock final : public WallClock {
 public:
  explicit FixedWallClock(LocalTime time) : m_time(time) {}
  LocalTime now() override {
    ++m_reads;
    return m_time;
  }
  void set(LocalTime time) { m_time = time; }
  int reads() const { return m_reads; }

 private:
  LocalTime m_time;
  int m_reads = 0;
};

}  // namespace j57
