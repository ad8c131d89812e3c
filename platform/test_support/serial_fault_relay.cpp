#include "platform/test_support/serial_fault_relay.h"

#include <chrono>
#include <span>
#include <vector>

namespace kit::test {

using namespace std::chrono_literals;

namespace {
// Short waits on both sides keep the relay's own delay to a few milliseconds.
constexpr kit::SerialTimeouts kDeviceTimeouts{1, 0, 2, 0, 1000};
constexpr auto kLineWait = 2ms;
constexpr auto kReplugWait = 2s;
}  // namespace

SerialFaultRelay::SerialFaultRelay(std::string devicePortPath) : m_devicePath(std::move(devicePortPath)) {}

SerialFaultRelay::~SerialFaultRelay() { stop(); }

bool SerialFaultRelay::start() {
  if (m_device.open(m_devicePath) != kit::SerialError::Ok) return false;
  if (m_device.setTimeouts(kDeviceTimeouts) != kit::SerialError::Ok) return false;
  m_stop = false;
  m_thread = std::thread(&SerialFaultRelay::run, this);
  std::unique_lock lock(m_mutex);
  return m_changed.wait_for(lock, kReplugWait, [&] { return !m_linePath.empty(); });
}

void SerialFaultRelay::stop() {
  m_stop = true;
  if (m_thread.joinable()) m_thread.join();
  m_device.close();
}

std::string SerialFaultRelay::portPath() const {
  std::lock_guard lock(m_mutex);
  return m_linePath;
}

void SerialFaultRelay::arm(LineFaultPlan plan) {
  std::lock_guard lock(m_mutex);
  m_plan = plan;
  m_counts[0] = m_counts[1] = 0;
  m_fired = false;
}

std::size_t SerialFaultRelay::count(LineDirection direction) const {
  std::lock_guard lock(m_mutex);
  return m_counts[static_cast<int>(direction)];
}

bool SerialFaultRelay::replug() {
  std::unique_lock lock(m_mutex);
  m_replugRequested = true;
  return m_changed.wait_for(lock, kReplugWait, [&] { return !m_replugRequested; }) && !m_linePath.empty();
}

std::string SerialFaultRelay::pass(LineDirection direction, char byte, bool& hangUp) {
  std::lock_guard lock(m_mutex);
  const std::size_t index = m_counts[static_cast<int>(direction)]++;
  if (m_plan.fault == LineFault::None || m_plan.direction != direction || m_plan.position != index || m_fired)
    return std::string(1, byte);
  m_fired = true;
  switch (m_plan.fault) {
    case LineFault::Drop:
      return {};
    case LineFault::Duplicate:
      return std::string(2, byte);
    case LineFault::Corrupt:
      return std::string(1, static_cast<char>(~static_cast<unsigned char>(byte)));
    case LineFault::HangUp:
      hangUp = true;
      return {};
    case LineFault::None:
      break;
  }
  return std::string(1, byte);
}

void SerialFaultRelay::run() {
  while (!m_stop) {
    kit::PseudoTerminal line;
    const bool opened = line.open() == kit::SerialError::Ok;
    {
      std::lock_guard lock(m_mutex);
      m_linePath = opened ? line.portPath() : std::string();
      m_plan = {};
      m_replugRequested = false;
    }
    m_changed.notify_all();
    if (!opened) return;
    forward(line);  // returns on a hang-up, a replug request or stop
    line.close();
    // After a hang-up the line stays away until the test asks for a new one.
    std::unique_lock lock(m_mutex);
    while (!m_stop && !m_replugRequested) {
      lock.unlock();
      std::vector<std::byte> drain(256);
      std::size_t got = 0;
      (void)m_device.read(drain, got);  // nobody on the line: the device's bytes are lost
      lock.lock();
    }
  }
}

void SerialFaultRelay::forward(kit::PseudoTerminal& line) {
  std::vector<std::byte> buffer(256);
  while (!m_stop) {
    {
      std::lock_guard lock(m_mutex);
      if (m_replugRequested) return;
    }
    bool hangUp = false;
    std::size_t got = 0;
    if (line.read(buffer, got, kLineWait) == kit::SerialError::Ok && got > 0) {
      std::string out;
      for (std::size_t i = 0; i < got && !hangUp; ++i)
        out += pass(LineDirection::ToDevice, static_cast<char>(buffer[i]), hangUp);
      std::size_t written = 0;
      if (!out.empty()) (void)m_device.write(std::as_bytes(std::span(out)), written);
      if (hangUp) return;
    }
    got = 0;
    if (m_device.read(buffer, got) == kit::SerialError::Ok && got > 0) {
      std::string out;
      for (std::size_t i = 0; i < got && !hangUp; ++i)
        out += pass(LineDirection::FromDevice, static_cast<char>(buffer[i]), hangUp);
      if (!out.empty()) (void)line.write(std::as_bytes(std::span(out)));
      if (hangUp) return;
    }
  }
}

}  // namespace kit::test
