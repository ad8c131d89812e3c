#include "sim/module/serial_module_server.h"

#include <unistd.h>

#include <chrono>

#include "sim/module/serial_framing.h"

namespace kitsim {

std::array<std::uint8_t, 6> VirtualModuleAddress(int index) {
  const auto pid = static_cast<std::uint32_t>(::getpid());
  return {0x02, 0x4B, static_cast<std::uint8_t>(pid >> 16), static_cast<std::uint8_t>(pid >> 8),
          static_cast<std::uint8_t>(pid), static_cast<std::uint8_t>(index)};
}

SerialModuleServer::SerialModuleServer(std::array<std::uint8_t, 6> address, ModuleFaults faults, bool echo)
    : m_engine(address), m_faults(faults) {
  if (!echo) m_engine.handle("AT+E");
}

SerialModuleServer::~SerialModuleServer() { stop(); }

bool SerialModuleServer::start() {
  if (m_pty.open() != kit::SerialError::Ok) return false;
  m_thread = std::thread([this] { serve(); });
  return true;
}

void SerialModuleServer::stop() {
  if (m_thread.joinable()) {
    m_pty.wake();
    m_thread.join();
  }
  m_pty.close();
}

void SerialModuleServer::setFaults(const ModuleFaults& faults) {
  std::lock_guard lock(m_mutex);
  m_faults = faults;
}

void SerialModuleServer::inspect(const std::function<void(ModuleEngine&)>& f) {
  std::lock_guard lock(m_mutex);
  f(m_engine);
}

std::vector<std::string> SerialModuleServer::requests() {
  std::lock_guard lock(m_mutex);
  return m_requests;
}

void SerialModuleServer::serve() {
  RequestAssembler assembler;
  std::array<std::byte, 1024> buffer{};
  for (;;) {
    std::size_t got = 0;
    kit::SerialError result = m_pty.read(buffer, got, std::chrono::milliseconds(-1));
    if (result != kit::SerialError::Ok) return;  // woken to stop, or the terminal failed
    {
      std::lock_guard lock(m_mutex);
      if (m_faults.paceIncoming && m_faults.paceBaud > 0)
        std::this_thread::sleep_for(std::chrono::microseconds(got * 10 * 1000000 / static_cast<std::size_t>(m_faults.paceBaud)));
    }
    assembler.add(std::string_view(reinterpret_cast<const char*>(buffer.data()), got));
    while (auto piece = assembler.next()) {
      if (piece->kind == RequestAssembler::Piece::Kind::Raw) {
        std::lock_guard lock(m_mutex);
        m_engine.receiveRaw(piece->bytes);
        continue;
      }
      answer(piece->bytes);
      std::lock_guard lock(m_mutex);
      assembler.expectRaw(m_pendingRaw);
      m_pendingRaw = 0;
    }
  }
}

void SerialModuleServer::answer(const std::string& request) {
  std::string out;
  ModuleFaults faults;
  {
    std::lock_guard lock(m_mutex);
    faults = m_faults;
    m_requests.push_back(request);
    if (m_engine.echo()) out = request + "\r";
    EngineReply reply = m_engine.handle(request);
    m_pendingRaw = reply.expectRaw;
    std::string text = FormatSerialReply(reply);
    if (faults.garbage && !text.empty()) text = std::string("\x7f#GARBAGE\0\xff\r\n\r\n", 15);
    if (faults.noTerminator && text.ends_with("\r\n\r\n")) text.resize(text.size() - 4);
    out += text;
  }
  if (faults.silent || out.empty()) return;
  if (faults.delayMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(faults.delayMs));
  if (faults.scanDelayMs > 0 && request == "AT+WSCAN")
    std::this_thread::sleep_for(std::chrono::milliseconds(faults.scanDelayMs));
  if (faults.paceBaud > 0)
    std::this_thread::sleep_for(std::chrono::microseconds(out.size() * 10 * 1000000 / static_cast<std::size_t>(faults.paceBaud)));
  if (faults.split && out.size() > 1) {
    std::size_t half = out.size() / 2;
    (void)m_pty.write(std::string_view(out).substr(0, half));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    (void)m_pty.write(std::string_view(out).substr(half));
    return;
  }
  (void)m_pty.write(out);
}

}  // namespace kitsim
