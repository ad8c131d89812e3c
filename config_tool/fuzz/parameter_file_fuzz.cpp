// Parameter files as users hand them over: any bytes. A file that the import accepts
// must come back unchanged through an export and a second import (what the module
// would be sent cannot depend on a trip through the file).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include <unistd.h>

#include "config_tool/app/parameter_file.h"
#include "platform/profile/atomic_file.h"

namespace {

std::string Scratch(const char* name) {
  const char* tmp = std::getenv("TMPDIR");
  const std::string folder = tmp ? tmp : (::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp");
  return folder + "/parameter_file_fuzz." + std::to_string(getpid()) + "." + name;
}

std::string Contents(const std::string& path) {
  std::string content;
  (void)kit::profile::ReadWholeFile(path, content);
  return content;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string input = Scratch("in.cfg"), first = Scratch("first.cfg"), second = Scratch("second.cfg");
  {
    std::ofstream out(input, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  tarnwave::ModuleParameters record;
  if (tarnwave::ReadParameterFile(input, record)) return 0;  // refused with a note

  ::unlink(first.c_str());
  ::unlink(second.c_str());
  if (!tarnwave::WriteParameterFile(record, first)) std::abort();  // an accepted record is writable
  tarnwave::ModuleParameters again;
  if (auto note = tarnwave::ReadParameterFile(first, again)) std::abort();  // and readable again
  if (!tarnwave::WriteParameterFile(again, second)) std::abort();
  if (Contents(first) != Contents(second)) std::abort();
  return 0;
}
