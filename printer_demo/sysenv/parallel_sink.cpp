#include "printer_demo/sysenv/parallel_sink.h"

#include "platform/parallel/parallel_port.h"

namespace j57 {
namespace {

class ParallelSink final : public ByteSink {
 public:
  explicit ParallelSink(kit::ParallelPort port) : m_port(std::move(port)) {}
  std::optional<std::string> write(std::span<const std::uint8_t> bytes) override { return m_port.write(bytes); }

 private:
  kit::ParallelPort m_port;
};

}  // namespace

std::variant<std::unique_ptr<ByteSink>, std::string> OpenParallelSink(int number, const std::string& devicePath) {
  std::string path = devicePath;
  if (path.empty()) {
    auto mapped = kit::ParallelPort::DevicePath(number);
    if (!mapped) return "There is no parallel port LPT" + std::to_string(number) + ".";
    path = *mapped;
  }
  auto opened = kit::ParallelPort::Open(path);
  if (auto* error = std::get_if<std::string>(&opened)) return "LPT" + std::to_string(number) + ": " + *error;
  return std::unique_ptr<ByteSink>(std::make_unique<ParallelSink>(std::move(std::get<kit::ParallelPort>(opened))));
}

}  // namespace j57
