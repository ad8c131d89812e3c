#pragma once
// A device opened by its name "\\.\NAME": frames are written to it, control
// requests go to it with an input and an output buffer, and events handed to
// it are signalled back. Calls block until the device has answered.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "platform/handles/handle_table.h"

namespace kit::devio {

// Outcome of a device call. Device holds the device's own status value.
enum class DevError {
    None,
    NotFound,       // no device of that name
    Removed,        // the device went away (or the connection to its host)
    DeviceFailed,   // the device completed the request with a failure
    InvalidArgument,
    Io,             // the transport failed, or the device's host did not answer in time
    Busy,           // the device's host serves as many programs as it can
};

// A short text for messages ("the driver host is busy").
const char* DevErrorText(DevError error);

struct ControlResult {
    DevError error = DevError::None;
    std::uint32_t deviceStatus = 0;     // the device's completion status (0 success)
    std::vector<std::uint8_t> output;   // bytes the device returned
};

class DeviceEndpoint {
public:
    virtual ~DeviceEndpoint() = default;

    // One write of the whole frame. DeviceFailed carries the device status.
    [[nodiscard]] virtual DevError write(std::span<const std::uint8_t> frame, std::uint32_t* deviceStatus = nullptr) = 0;
    // A control request; `outputSize` is the caller's output buffer size.
    [[nodiscard]] virtual ControlResult control(std::uint32_t code, std::span<const std::uint8_t> input,
                                                std::size_t outputSize) = 0;
    // The value under which the device knows the caller's event `local` (an
    // entry of the process's handle table holding a kit::Event). The device
    // signals it whenever it sets its side. kInvalidHandleValue on failure.
    [[nodiscard]] virtual HandleValue exportEvent(HandleValue local) = 0;
    // Ends the connection; later calls report Removed. Safe to call twice.
    virtual void close() = 0;
};

}  // namespace kit::devio
