#pragma once
// Completion status of requests in the kernel model, with readable names.

#include <string_view>

namespace wdm {

enum class Status {
    Success,
    Pending,
    MoreProcessingRequired,
    Unsuccessful,
    InsufficientResources,
    InvalidParameter,
    InvalidDeviceRequest,
    NoSuchDevice,
    DeletePending,
    DeviceRemoved,
    DeviceConfigurationError,
    DeviceNotConnected,
    NotImplemented,
    NotSupported,
    Cancelled,
    BufferTooSmall,
    ObjectNameCollision,
    ObjectNameNotFound,
    InvalidHandle,
    IoTimeout,
};

std::string_view StatusName(Status status);

// Success and the informational statuses count as success; Pending does not.
inline bool IsSuccess(Status status) { return status == Status::Success; }

}  // namespace wdm
