#pragma once

#include <filesystem>

#include "printer_setup/winenv/machine_root.h"
#include "printer_setup/winenv/process_runner.h"
#include "printer_setup/winenv/registry.h"
#include "printer_setup/winenv/spooler.h"
#include "printer_setup/winenv/system_info.h"
#include "printer_setup/winenv/win_files.h"

namespace kit::winenv {

// Every Windows service the installer uses, bound to one machine root.
class WinEnv {
public:
    WinEnv(std::filesystem::path rootFolder, std::filesystem::path printerSetupProgram)
        : root(std::move(rootFolder)),
          files(root),
          registry(root),
          spooler(root),
          system(root),
          processes(root, std::move(printerSetupProgram)) {}
    WinEnv(const WinEnv&) = delete;
    WinEnv& operator=(const WinEnv&) = delete;

    MachineRoot root;
    WinFiles files;
    Registry registry;
    Spooler spooler;
    SystemInfo system;
    ProcessRunner processes;
};

}  // namespace kit::winenv
