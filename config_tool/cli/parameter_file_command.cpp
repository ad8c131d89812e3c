#include "config_tool/cli/parameter_file_command.h"

#include <cstring>
#include <ostream>

#include "config_tool/app/parameter_checks.h"
#include "config_tool/app/parameter_file.h"
#include "config_tool/app/parameter_steps.h"
#include "config_tool/protocol/command_table.h"
#include "config_tool/protocol/error_text.h"
#include "config_tool/protocol/result_codes.h"

namespace tarnwave::cli {
namespace {

// The page's failure form: a fixed sentence ending in a comma and the error text.
int Failure(Output io, const std::string& sentence, int code) {
  io.err << "tarnwave-cli: " << sentence << ErrorText(code);
  if (ErrorText(code).empty()) io.err << " (code " << code << ")";
  io.err << "\n";
  return kExitModuleError;
}

bool Open(ModuleLink& link, const LinkOptions& options, Output io, int& exitCode) {
  std::string error;
  if (OpenLink(link, options, error) == kResultOk) return true;
  io.err << "tarnwave-cli: " << error << "\n";
  exitCode = options.port.empty() && !options.dongle ? kExitUsage : kExitModuleError;
  return false;
}

// Reads every parameter as the page's Refresh does.
int Query(ModuleLink& link, ModuleParameters& current, Output io) {
  ModuleParameters scratch;
  bool changed = false;
  const int result = RunParameterSteps(link, CommandForm::Query, current, scratch, changed);
  if (result != kResultOk) return Failure(io, "Parameters get error,", result);
  return kExitOk;
}

// The file's rows, then the checks the page's Modify makes.
bool CheckFile(const std::string& path, ModuleParameters& record, Output io) {
  std::optional<std::string> note = ReadParameterFile(path, record);
  if (!note) note = CheckPageRecord(record);
  if (!note) return true;
  io.err << *note << "\n";
  return false;
}

}  // namespace

int ExportParameters(const LinkOptions& options, const std::string& path, Output io) {
  ModuleLink link;
  int exitCode = kExitOk;
  if (!Open(link, options, io, exitCode)) return exitCode;
  ModuleParameters current;
  if ((exitCode = Query(link, current, io)) != kExitOk) return exitCode;
  const ParameterFileWriteResult written = WriteParameterFile(current, path);
  if (!written) {
    io.err << "tarnwave-cli: cannot write " << path;
    if (written.osError != 0) io.err << ": " << std::strerror(written.osError);
    io.err << "\n";
    return kExitModuleError;
  }
  io.out << "Exported the parameters to " << path << "\n";
  return kExitOk;
}

int ImportParameters(const LinkOptions& options, const std::string& path, bool checkOnly, Output io) {
  ModuleParameters edited;
  if (!CheckFile(path, edited, io)) return kExitModuleError;
  if (checkOnly) {
    io.out << path << ": the parameters can be imported\n";
    return kExitOk;
  }
  ModuleLink link;
  int exitCode = kExitOk;
  if (!Open(link, options, io, exitCode)) return exitCode;
  ModuleParameters current;
  if ((exitCode = Query(link, current, io)) != kExitOk) return exitCode;
  bool changed = false;
  const int result = RunParameterSteps(link, CommandForm::Set, current, edited, changed, [&io](int commandId) {
    io.out << CommandMnemonic(commandId).value_or("?") << "\n";
  });
  if (result != kResultOk) return Failure(io, "Parameter setting error,", result);
  if (!changed) {
    io.out << "No valid parameters to modify!\n";
    return kExitOk;
  }
  const int flash = link.writeFlash();
  if (flash != kResultOk) return Failure(io, "Update to FLASH error,", flash);
  io.out << "PMTF\n";
  return kExitOk;
}

}  // namespace tarnwave::cli
