#pragma once

#include <optional>
#include <string>
#include <vector>

#include "printer_setup/winenv/machine_root.h"
#include "printer_setup/winenv/printer_setup_words.h"

namespace kit::winenv {

// The machine's printer setup command. Two forms are understood:
//   /if /f INF /r PORT /b NAME /m MODEL   install the printer NAME for the
//       model MODEL that the INF declares, on the port PORT;
//   /y /n NAME                            make NAME the default printer.
// The install form checks everything first (the root is a prepared machine,
// the INF declares the model, every file it copies is staged, the printer name
// is valid, every path stays inside the root) and only then copies the files
// into the driver directory's "3" folder, stores the registry entries of the
// INF and adds the driver. Then the printer is added, unless one of that name
// exists: that printer keeps its settings, the command still succeeds (the
// driver it names is now complete) and says so in its message. A failure
// answers a non-zero exit code and changes nothing.
class PrinterSetupCommand {
public:
    struct Result {
        int exitCode = 0;
        std::string message;  // what went wrong, or a note on success; for stderr
    };

    PrinterSetupCommand(const MachineRoot& root, std::string currentDirectory)
        : m_root(root), m_currentDirectory(std::move(currentDirectory)) {}

    // Runs the command with the words that follow "printui.dll,PrintUIEntry".
    [[nodiscard]] Result run(const std::vector<std::string>& words) const;
    // Runs a request read from the words beforehand (ParsePrinterSetupWords).
    [[nodiscard]] Result run(const PrinterSetupRequest& request) const;

private:
    [[nodiscard]] std::optional<Result> refuseUnpreparedRoot() const;
    [[nodiscard]] Result perform(const PrinterSetupRequest& request) const;
    [[nodiscard]] Result install(const std::string& inf, const std::string& port,
                                 const std::string& name, const std::string& model) const;
    [[nodiscard]] Result makeDefault(const std::string& name) const;

    const MachineRoot& m_root;
    std::string m_currentDirectory;
};

}  // namespace kit::winenv
