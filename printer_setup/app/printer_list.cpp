#include "printer_setup/app/printer_list.h"

namespace kit::setup {

PrinterList EnumerateLocalPrinters(const winenv::Spooler& spooler) {
    PrinterList list;
    std::uint32_t needed = 0, returned = 0;
    winenv::WinStatus status = spooler.enumPrinters({}, needed, returned);
    if (status != winenv::WinStatus::Ok && status != winenv::WinStatus::InsufficientBuffer) {
        list.status = PrinterList::Status::SizeQueryFailed;
        list.error = status;
        return list;
    }
    if (needed == 0) {
        list.status = PrinterList::Status::NoPrinters;
        return list;
    }
    std::vector<char> buffer(needed);
    status = spooler.enumPrinters(buffer, needed, returned);
    if (status != winenv::WinStatus::Ok) {
        list.status = PrinterList::Status::CallFailed;
        list.error = status;
        return list;
    }
    // The records are read only as far as the buffer goes.
    std::size_t pos = 0;
    for (std::uint32_t i = 0; i < returned && pos < buffer.size(); ++i) {
        std::size_t end = pos;
        while (end < buffer.size() && buffer[end] != '\0') ++end;
        list.names.emplace_back(buffer.data() + pos, end - pos);
        pos = end + 1;
    }
    list.status = list.names.empty() ? PrinterList::Status::NoPrinters : PrinterList::Status::Ok;
    return list;
}

}  // namespace kit::setup
