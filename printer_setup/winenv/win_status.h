#pragma once

#include <cstdint>
#include <string>

namespace kit::winenv {

// Outcome of one substitute call. The numbers are the Windows error codes the
// installer would have seen, so a message can quote the system's own text.
enum class WinStatus : std::uint32_t {
    Ok = 0,
    FileNotFound = 2,
    PathNotFound = 3,
    AccessDenied = 5,
    InvalidParameter = 87,
    InsufficientBuffer = 122,
    InvalidName = 123,
    AlreadyExists = 183,
    DirectoryNotEmpty = 145,
    InvalidEnvironment = 1805,
    InvalidLevel = 124,
    InvalidPrinterName = 1801,
    InvalidFormName = 1902,
    SpoolerUnavailable = 1722,
    Timeout = 1460,
};

[[nodiscard]] inline bool Succeeded(WinStatus status) { return status == WinStatus::Ok; }

// The system's text for an error code, as the installer's error box shows it.
[[nodiscard]] std::string SystemErrorText(WinStatus status);

}  // namespace kit::winenv
