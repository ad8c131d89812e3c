#include "printer_demo/core/text_file.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

namespace j57 {

TextFile ReadTextFile(const std::string& path, std::size_t maxBytes) {
  TextFile file;
  errno = 0;
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    file.error = "Cannot read " + path + (errno ? std::string(": ") + std::strerror(errno) : std::string()) + ".";
    return file;
  }
  char buffer[65536];
  while (in) {
    in.read(buffer, sizeof buffer);
    file.bytes.append(buffer, static_cast<std::size_t>(in.gcount()));
    if (file.bytes.size() > maxBytes) {
      file.bytes.clear();
      file.error = path + " is larger than " + std::to_string(maxBytes) + " bytes.";
      return file;
    }
  }
  if (in.bad()) {
    file.bytes.clear();
    file.error = "Reading " + path + " failed.";
    return file;
  }
  file.ok = true;
  return file;
}

}  // namespace j57
