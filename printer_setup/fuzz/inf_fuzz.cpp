// Driver text files as the installer and the printer setup command read them: INF
// sections with string expansion, and the model renaming of the GPD and INI texts.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "printer_setup/app/model_lines.h"
#include "printer_setup/winenv/inf_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  const auto inf = kit::winenv::InfFile::Parse(text);
  for (std::string_view name : {"Version", "Manufacturer", "Strings", "DestinationDirs", "J57"}) {
    for (const auto& line : inf.section(name)) {
      (void)inf.expandStrings(line.value);
      (void)kit::winenv::SplitInfFields(line.value);
    }
  }
  (void)inf.value("Version", "Signature");

  // The model name comes from a settings file the user can edit: take it from the input.
  const std::string model(text.substr(0, std::min<std::size_t>(text.find('\n'), 300)));
  const auto pairs = kit::setup::BuildModelLineTable(model);
  const std::string rewritten = kit::setup::RewriteModelLines(text, pairs.data(), pairs.size());
  // Every piece the rewrite hands out ends in a single line feed.
  if (!rewritten.empty() && rewritten.back() != '\n') std::abort();
  return 0;
}
