#pragma once
// tarnwave-cli export and import: the configuration page's parameter file from scripts.
//
//   export FILE          reads every parameter from the module and writes the file as the
//                        page's "Export" writes it (other sections of FILE stay)
//   import FILE --check  reads and checks the file only; a refusal prints the note the
//                        page shows and exits 1
//   import FILE          checks, then sends what differs from the module's values in the
//                        page's step order, then "PMTF"; prints each command sent
#include <string>

#include "config_tool/cli/commands.h"
#include "config_tool/cli/link_options.h"

namespace tarnwave::cli {

int ExportParameters(const LinkOptions& link, const std::string& path, Output io);
int ImportParameters(const LinkOptions& link, const std::string& path, bool checkOnly, Output io);

}  // namespace tarnwave::cli
