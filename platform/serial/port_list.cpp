#include "platform/serial/port_list.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace kit {
namespace {

namespace fs = std::filesystem;

// Legacy UART ports (ttyS*) exist in /sys whether or not a UART is fitted; the
// port type tells the two apart.
bool UartPresent(const std::string& devicePath) {
  int fd = ::open(devicePath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  serial_struct info{};
  bool present = ::ioctl(fd, TIOCGSERIAL, &info) == 0 && info.type != PORT_UNKNOWN;
  ::close(fd);
  return present;
}

void AddHardwarePorts(std::vector<std::string>& ports) {
  std::error_code ec;
  std::vector<std::string> found;
  for (const auto& entry : fs::directory_iterator("/sys/class/tty", ec)) {
    fs::path driver = entry.path() / "device" / "driver";
    if (!fs::exists(driver, ec)) continue;  // virtual consoles and ptys have no device driver
    std::string name = entry.path().filename().string();
    std::string devicePath = "/dev/" + name;
    if (!fs::exists(devicePath, ec)) continue;
    if (fs::read_symlink(driver, ec).filename() == "serial8250" && !UartPresent(devicePath)) continue;
    found.push_back(devicePath);
  }
  std::sort(found.begin(), found.end());
  ports.insert(ports.end(), found.begin(), found.end());
}

void AddAnnouncedPorts(std::vector<std::string>& ports) {
  std::error_code ec;
  std::vector<std::string> found;
  for (const auto& entry : fs::directory_iterator(SerialAnnounceDir(), ec)) {
    if (!entry.is_regular_file(ec)) continue;
    std::ifstream in(entry.path());
    std::string line;
    if (!std::getline(in, line) || line.empty() || line.size() > 4096) continue;
    // Gone (the simulator that announced it has ended), or no terminal device at all.
    if (!fs::is_character_file(line, ec)) continue;
    if (std::find(ports.begin(), ports.end(), line) == ports.end() &&
        std::find(found.begin(), found.end(), line) == found.end())
      found.push_back(line);
  }
  std::sort(found.begin(), found.end());
  ports.insert(ports.end(), found.begin(), found.end());
}

}  // namespace

std::string KitRuntimeDir() {
  if (const char* dir = std::getenv("KIT_RUNTIME_DIR"); dir != nullptr && *dir != '\0') return dir;
  if (const char* xdg = std::getenv("XDG_RUNTIME_DIR"); xdg != nullptr && *xdg != '\0') return std::string(xdg) + "/kit";
  return "/tmp/kit-" + std::to_string(::getuid());
}

std::string SerialAnnounceDir() { return KitRuntimeDir() + "/serial"; }

std::vector<std::string> ListSerialPorts() {
  std::vector<std::string> ports;
  AddHardwarePorts(ports);
  AddAnnouncedPorts(ports);
  return ports;
}

}  // namespace kit
