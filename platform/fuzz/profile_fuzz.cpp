// Profile files as they lie on disk: any bytes. The text is parsed, looked up with the
// names the programs use (and names taken from the input), changed and written back;
// the growing reader reads the same text from a real file. A write must keep every byte
// it does not change, so the changed text must still hold everything else.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>

#include <unistd.h>

#include "platform/profile/growing_profile_reader.h"
#include "platform/profile/ini_document.h"
#include "platform/profile/profile_file.h"

namespace {

const std::string& ScratchFile() {
  static const std::string path = [] {
    // A memory-backed folder when there is one: the file is rewritten for every input.
    const char* tmp = std::getenv("TMPDIR");
    std::string folder = tmp ? tmp : (::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp");
    std::string name = folder + "/profile_fuzz." + std::to_string(getpid()) + ".ini";
    return name;
  }();
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string content(reinterpret_cast<const char*>(data), size);
  // Names from the input: the first line split at its first "=" gives section and key.
  const std::string firstLine = content.substr(0, std::min(content.find('\n'), std::size_t{64}));
  const std::size_t eq = firstLine.find('=');
  const std::string section = firstLine.substr(0, eq);
  const std::string key = eq == std::string::npos ? "Pass" : firstLine.substr(eq + 1);

  kit::profile::IniDocument document(content);
  for (const auto& [s, k] : {std::pair<std::string_view, std::string_view>{"ComSet", "BaudRate"},
                            {"WireLessSet", "Pass"}, {"String", "Language"}, {section, key}}) {
    (void)document.value(s, k);
  }
  const std::string before = document.content();
  if (document.setValue("ComSet", "BaudRate", "9600")) {
    kit::profile::IniDocument again(document.content());
    auto value = again.value("ComSet", "BaudRate");
    if (!value || *value != "9600") std::abort();  // a written value reads back
  } else if (document.content() != before) {
    std::abort();  // a refused change changes nothing
  }

  {
    std::ofstream out(ScratchFile(), std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
  }
  kit::profile::GrowingProfileReader reader(8);
  (void)reader.read("WireLessSet", "Mac", ScratchFile(), "0");
  (void)reader.read(section, key, ScratchFile());
  (void)kit::profile::ReadProfileInt("ComSet", "ComEn", 1, ScratchFile());
  char small[4];
  (void)kit::profile::ReadProfileString(section, key, "d", small, sizeof small, ScratchFile());
  return 0;
}
