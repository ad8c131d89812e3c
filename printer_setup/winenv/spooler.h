#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "printer_setup/winenv/json_store.h"
#include "printer_setup/winenv/machine_root.h"
#include "printer_setup/winenv/win_status.h"

namespace kit::winenv {

struct PrinterRecord {
    std::string name;
    std::string port;
    std::string driver;
};

struct DriverRecord {
    std::string name;
    std::string environment;
    std::vector<std::string> files;
};

// The print spooler of the machine, kept in "spooler.json" of the root: the
// local printers in the order they were added, the default printer, the
// installed drivers and the paper forms of the print server.
class Spooler {
public:
    static constexpr const char* kEnvironment = "Windows NT x86";
    static constexpr const char* kDriverDirectory =
        "C:\\WINDOWS\\system32\\spool\\drivers\\w32x86";

    // The longest printer name the spooler takes, in bytes.
    static constexpr std::size_t kMaxPrinterName = 220;

    explicit Spooler(const MachineRoot& root);

    // Whether "spooler.json" exists and can be read.
    [[nodiscard]] bool readable() const;

    // The driver directory of an environment at level 1, written into
    // `buffer` with its terminating NUL. `needed` gets the size in bytes.
    // InvalidEnvironment or InvalidLevel for anything but "Windows NT x86" at
    // level 1; InsufficientBuffer when the buffer is too small.
    [[nodiscard]] WinStatus getPrinterDriverDirectory(std::string_view environment, int level,
                                                      std::span<char> buffer,
                                                      std::uint32_t& needed) const;

    // The local printers at level 2, reduced to what callers read: the buffer
    // receives each printer name with its NUL, one after the other, in the
    // spooler's order. A query with an empty buffer answers the size in
    // `needed` (0 and Ok when there is no printer, InsufficientBuffer
    // otherwise); `returned` counts the records written.
    [[nodiscard]] WinStatus enumPrinters(std::span<char> buffer, std::uint32_t& needed,
                                         std::uint32_t& returned) const;

    // The local print server: Ok when it can be opened. Forms are deleted
    // through it; InvalidFormName when no form of that name exists.
    [[nodiscard]] WinStatus openLocalServer() const;
    [[nodiscard]] WinStatus deleteForm(std::string_view formName) const;

    // Changes made by the printer setup command and by tools. A printer name
    // is refused (InvalidPrinterName) when it is empty, longer than
    // kMaxPrinterName, or holds a control character, ',', '!' or '\'; a port
    // or driver name with a control character is refused as well.
    [[nodiscard]] WinStatus addPrinter(const PrinterRecord& printer) const;
    [[nodiscard]] WinStatus setDefaultPrinter(std::string_view name) const;
    [[nodiscard]] WinStatus addDriver(const DriverRecord& driver) const;
    [[nodiscard]] WinStatus addForm(std::string_view formName) const;

    // Plain views for tools and tests (no fault applies to them).
    [[nodiscard]] std::vector<PrinterRecord> printers() const;
    [[nodiscard]] std::optional<PrinterRecord> findPrinter(std::string_view name) const;
    [[nodiscard]] std::string defaultPrinter() const;
    [[nodiscard]] std::vector<std::string> forms() const;
    [[nodiscard]] std::vector<DriverRecord> drivers() const;

private:
    [[nodiscard]] bool stopped() const;

    const MachineRoot& m_root;
    JsonStore m_store;
};

// The rule for printer names of addPrinter.
[[nodiscard]] bool IsValidPrinterName(std::string_view name);

}  // namespace kit::winenv
