#pragma once

#include <string>
#include <vector>

#include "printer_setup/winenv/spooler.h"

namespace kit::setup {

// The local printers as the installer reads them: a size query without a
// buffer, then a call with a buffer of the reported size.
struct PrinterList {
    enum class Status {
        Ok,               // names holds at least one printer
        NoPrinters,       // the size query reported nothing to return
        SizeQueryFailed,  // the size query failed with another error
        CallFailed,       // the call with the buffer failed
    };
    Status status = Status::NoPrinters;
    winenv::WinStatus error = winenv::WinStatus::Ok;  // the spooler's error when a call failed
    std::vector<std::string> names;                   // in the spooler's order
};

[[nodiscard]] PrinterList EnumerateLocalPrinters(const winenv::Spooler& spooler);

}  // namespace kit::setup
