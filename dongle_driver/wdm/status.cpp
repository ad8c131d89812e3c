#include "dongle_driver/wdm/status.h"

namespace wdm {

std::string_view StatusName(Status status) {
    switch (status) {
        case Status::Success: return "success";
        case Status::Pending: return "pending";
        case Status::MoreProcessingRequired: return "more-processing-required";
        case Status::Unsuccessful: return "unsuccessful";
        case Status::InsufficientResources: return "insufficient-resources";
        case Status::InvalidParameter: return "invalid-parameter";
        case Status::InvalidDeviceRequest: return "invalid-device-request";
        case Status::NoSuchDevice: return "no-such-device";
        case Status::DeletePending: return "delete-pending";
        case Status::DeviceRemoved: return "device-removed";
        case Status::DeviceConfigurationError: return "device-configuration-error";
        case Status::DeviceNotConnected: return "device-not-connected";
        case Status::NotImplemented: return "not-implemented";
        case Status::NotSupported: return "not-supported";
        case Status::Cancelled: return "cancelled";
        case Status::BufferTooSmall: return "buffer-too-small";
        case Status::ObjectNameCollision: return "object-name-collision";
        case Status::ObjectNameNotFound: return "object-name-not-found";
        case Status::InvalidHandle: return "invalid-handle";
        case Status::IoTimeout: return "io-timeout";
    }
    return "unknown-status";
}

}  // namespace wdm
