#include "printer_setup/winenv/machine_setup.h"

#include <system_error>

#include "printer_setup/winenv/system_info.h"
#include "printer_setup/winenv/win_files.h"

namespace kit::winenv {

WinStatus InitMachine(const MachineRoot& root, const MachineSettings& settings,
                      const std::vector<PrinterRecord>& printers) {
    std::error_code ec;
    std::filesystem::create_directories(root.folder() / "C", ec);
    if (ec) return WinStatus::AccessDenied;
    // The machine is built without faults; they apply once it is ready.
    MachineSettings healthy = settings;
    healthy.spoolerFault = SpoolerFault::None;
    healthy.printerSetupFault = PrinterSetupFault::None;
    if (!healthy.save(root)) return WinStatus::AccessDenied;
    WinFiles files(root);
    const std::string windows = SystemInfo::windowsDirectory();
    for (const std::string& dir : {windows, windows + "\\inf", windows + "\\system32",
                                   windows + "\\system32\\spool", windows + "\\system32\\spool\\drivers",
                                   std::string(Spooler::kDriverDirectory),
                                   std::string(Spooler::kDriverDirectory) + "\\3"}) {
        WinStatus status = files.createDirectory(dir);
        if (!Succeeded(status) && status != WinStatus::AlreadyExists) return status;
    }
    Spooler spooler(root);
    if (!std::filesystem::exists(root.storeFile("spooler.json"))) {
        for (const char* form : {"Letter", "Legal", "A4", "A5"}) (void)spooler.addForm(form);
    }
    for (const auto& printer : printers) {
        WinStatus status = spooler.addPrinter(printer);
        if (!Succeeded(status) && status != WinStatus::AlreadyExists) return status;
    }
    return settings.save(root) ? WinStatus::Ok : WinStatus::AccessDenied;
}

}  // namespace kit::winenv
