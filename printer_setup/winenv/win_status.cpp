#include "printer_setup/winenv/win_status.h"

namespace kit::winenv {

std::string SystemErrorText(WinStatus status) {
    switch (status) {
    case WinStatus::Ok: return "The operation completed successfully.";
    case WinStatus::FileNotFound: return "The system cannot find the file specified.";
    case WinStatus::PathNotFound: return "The system cannot find the path specified.";
    case WinStatus::AccessDenied: return "Access is denied.";
    case WinStatus::InvalidParameter: return "The parameter is incorrect.";
    case WinStatus::InsufficientBuffer: return "The data area passed to a system call is too small.";
    case WinStatus::InvalidName: return "The filename, directory name, or volume label syntax is incorrect.";
    case WinStatus::AlreadyExists: return "Cannot create a file when that file already exists.";
    case WinStatus::DirectoryNotEmpty: return "The directory is not empty.";
    case WinStatus::InvalidEnvironment: return "The environment specified is invalid.";
    case WinStatus::InvalidLevel: return "The system call level is not correct.";
    case WinStatus::InvalidPrinterName: return "The printer name is invalid.";
    case WinStatus::InvalidFormName: return "The specified form name is invalid.";
    case WinStatus::SpoolerUnavailable: return "The RPC server is unavailable.";
    case WinStatus::Timeout: return "This operation returned because the timeout period expired.";
    }
    return "Unknown error " + std::to_string(static_cast<std::uint32_t>(status)) + ".";
}

}  // namespace kit::winenv
