#pragma once

namespace kirva {

// Lifecycle state of the dongle's device object (the numbers are the ones the
// driver traces).
enum class DeviceState {
    NeverStarted = 0,
    Started = 1,
    StopPending = 2,
    Stopped = 3,
    RemovePending = 4,
    Removed = 5,
    SurpriseRemoved = 6,
};

}  // namespace kirva
