#include "platform/ui/drive/run_driven.h"

#include <variant>

#include "platform/ui/drive/drive_host.h"
#include "platform/ui/drive/drive_script.h"

namespace kit::ui::drive {

int RunDriven(const std::string& scriptPath, const DrivenProgram& program, std::ostream& transcript,
              std::ostream& errors) {
  auto parsed = LoadScript(scriptPath);
  if (const auto* error = std::get_if<ScriptError>(&parsed)) {
    const std::string name = scriptPath == "-" ? std::string("standard input") : scriptPath;
    errors << "drive script " << name;
    if (error->line > 0) errors << ", line " << error->line;
    errors << ": " << error->message << "\n";
    return 2;
  }
  DriveHost host(std::move(std::get<Script>(parsed)), transcript, errors);
  const int code = program(host);
  host.finishSteps();
  if (code != 0) return code;
  return host.anyRefused() ? 3 : 0;
}

}  // namespace kit::ui::drive
