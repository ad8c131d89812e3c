#pragma once

// The subcommands of tarnwave-cli. Each returns the program's exit code:
// 0 success, 1 a module or link error (message on stderr), 2 a usage error.

#include <iosfwd>
#include <string>
#include <vector>

#include "config_tool/cli/link_options.h"

namespace tarnwave::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitModuleError = 1;
inline constexpr int kExitUsage = 2;

struct Output {
  std::ostream& out;
  std::ostream& err;
  // Standard output is a terminal: what the module sent is shown escaped there.
  bool terminal = false;
};

int ListPorts(Output io);
int GetParameters(const LinkOptions& link, const std::vector<std::string>& keys, bool json, Output io);
int SetParameters(const LinkOptions& link, const std::vector<std::string>& assignments, bool save, Output io);
// Prints the reply as the module sent it, the echo removed; on a terminal (unless raw)
// control bytes are escaped, so a reply cannot drive the terminal.
int SendAt(const LinkOptions& link, const std::string& text, bool raw, Output io);
// reset, factory, flash, join, link (info and scan have their own files)
int RunAction(const LinkOptions& link, const std::string& action, Output io);

}  // namespace tarnwave::cli
