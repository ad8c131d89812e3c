#include <ostream>

#include "config_tool/app/module_version.h"
#include "config_tool/cli/module_text.h"
#include "config_tool/cli/firmware_command.h"
#include "config_tool/protocol/error_text.h"
#include "config_tool/protocol/module_link.h"
#include "config_tool/protocol/result_codes.h"

namespace tarnwave::cli {
namespace {
constexpr int kInfoExchange = 204;

int Failure(Output io, const char* what, int code) {
  io.err << "tarnwave-cli: " << what << ": " << ErrorText(code) << " (code " << code << ")\n";
  return kExitModuleError;
}
}  // namespace

int ShowInfo(const LinkOptions& options, Output io) {
  ModuleLink link;
  std::string error;
  if (OpenLink(link, options, error) != kResultOk) {
    io.err << "tarnwave-cli: " << error << "\n";
    return options.port.empty() && !options.dongle ? kExitUsage : kExitModuleError;
  }
  // As the information page: both queries inside one radio exchange.
  if (!link.transport()->openExchange(kInfoExchange)) return Failure(io, "exchange", kResultInvalidHandle);
  std::uint8_t address[6] = {};
  std::string text;
  int result = link.moduleAddress(address);
  const char* failed = "QMAC";
  if (result == kResultOk) {
    result = link.firmwareVersion(text);
    failed = "QVER";
  }
  const bool closed = link.transport()->closeExchange();
  if (result != kResultOk) return Failure(io, failed, result);
  if (!closed) return Failure(io, "exchange", kResultInvalidHandle);
  const ModuleVersion version = SplitVersionText(text);
  io.out << "Mac=" << FormatModuleAddress(address) << "\nHardwareVersion=" << ModuleTextToUtf8(version.hardware)
         << "\nFirmwareVersion=" << ModuleTextToUtf8(version.firmware)
         << "\nReleaseTime=" << ModuleTextToUtf8(version.releaseTime) << "\nVersion=" << ModuleTextToUtf8(text) << "\n";
  return kExitOk;
}

}  // namespace tarnwave::cli
