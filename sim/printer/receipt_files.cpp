#include "sim/printer/receipt_files.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace printer {

namespace fs = std::filesystem;

ReceiptFiles::ReceiptFiles(std::string folder, const ReceiptRenderer& renderer)
    : m_folder(std::move(folder)), m_renderer(renderer) {}

std::optional<std::string> ReceiptFiles::prepare() {
  std::error_code error;
  fs::create_directories(m_folder, error);
  if (error) return "cannot create " + m_folder + ": " + error.message();
  for (const auto& entry : fs::directory_iterator(m_folder, error)) {
    int number = 0;
    if (std::sscanf(entry.path().filename().c_str(), "receipt-%d.png", &number) == 1 && number >= m_next)
      m_next = number + 1;
  }
  return std::nullopt;
}

std::optional<std::string> ReceiptFiles::write(const Receipt& receipt, std::string& error) {
  char name[32];
  std::snprintf(name, sizeof name, "receipt-%04d.png", m_next);
  const std::string path = (fs::path(m_folder) / name).string();
  if (auto failure = m_renderer.savePng(receipt, path)) {
    error = *failure;
    return std::nullopt;
  }
  ++m_next;
  return path;
}

}  // namespace printer
