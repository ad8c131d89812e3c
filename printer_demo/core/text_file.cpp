#include "printer_demo/core/text_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace j57 {

TextFile ReadTextFile(const std::string& path, std::size_t maxBytes) {
  TextFile file;
  // O_NONBLOCK: a FIFO without a writer must not hold the open; it is refused below.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    file.error = "Cannot read " + path + ": " + std::strerror(errno) + ".";
    return file;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    file.error = "Cannot read " + path + ": not a regular file.";
    return file;
  }
  if (static_cast<std::uintmax_t>(st.st_size) > maxBytes) {
    ::close(fd);
    file.error = path + " is larger than " + std::to_string(maxBytes) + " bytes.";
    return file;
  }
  char buffer[65536];
  for (;;) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      ::close(fd);
      file.bytes.clear();
      file.error = "Reading " + path + " failed: " + std::strerror(errno) + ".";
      return file;
    }
    if (got == 0) break;
    file.bytes.append(buffer, static_cast<std::size_t>(got));
    if (file.bytes.size() > maxBytes) {
      ::close(fd);
      file.bytes.clear();
      file.error = path + " is larger than " + std::to_string(maxBytes) + " bytes.";
      return file;
    }
  }
  ::close(fd);
  file.ok = true;
  return file;
}

}  // namespace j57
