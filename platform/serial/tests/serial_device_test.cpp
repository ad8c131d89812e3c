#include "platform/serial/serial_device.h"

#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "platform/serial/pseudo_terminal.h"

namespace kit {
namespace {

using namespace std::chrono_literals;

std::span<const std::byte> Bytes(std::string_view text) {
  return std::as_bytes(std::span<const char>(text.data(), text.size()));
}

std::string Text(std::span<const std::byte> bytes) {
  return std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

// Reads from the device side until want bytes arrived or a generous limit passed.
std::string ReadFromPort(PseudoTerminal& pty, std::size_t want) {
  std::string all;
  std::array<std::byte, 256> buffer{};
  for (int i = 0; i < 100 && all.size() < want; ++i) {
    std::size_t got = 0;
    if (pty.read(buffer, got, 100ms) != SerialError::Ok) break;
    all += Text(std::span(buffer).first(got));
  }
  return all;
}

// Modem lines of a port that has none (as a pseudo-terminal): requests are recorded
// and refused.
class RecordingModemLines : public ModemLines {
 public:
  int lower(int, int mask) override {
    lowered.push_back(mask);
    return ENOTTY;
  }
  std::vector<int> lowered;
};

TEST(SerialDeviceModemLines, EveryConfigurationLowersRtsAndLeavesDtr) {
  PseudoTerminal pty;
  ASSERT_EQ(pty.open(), SerialError::Ok);
  RecordingModemLines lines;
  SerialDevice port(lines);
  ASSERT_EQ(port.open(pty.portPath()), SerialError::Ok);
  ASSERT_EQ(port.configure({9600, 7, 1, SerialParity::Even}), SerialError::Ok);
  // Open applies the default settings, then the caller's: RTS is lowered each time,
  // and a port without modem lines is still configured.
  EXPECT_EQ(lines.lowered, (std::vector<int>{TIOCM_RTS, TIOCM_RTS}));
}

class SerialDeviceTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(m_pty.open(), SerialError::Ok); }
  PseudoTerminal m_pty;
  SerialDevice m_port;
};

TEST_F(SerialDeviceTest, BytesTravelBothWaysUntranslated) {
  ASSERT_EQ(m_port.open(m_pty.portPath()), SerialError::Ok);
  ASSERT_EQ(m_port.setTimeouts({10, 1, 10, 1, 1}), SerialError::Ok);

  // Carriage returns, line feeds and NUL bytes must pass through raw.
  const std::string request("AT+QVER=?\r\0\n", 12);
  std::size_t written = 0;
  ASSERT_EQ(m_port.write(Bytes(request), written), SerialError::Ok);
  EXPECT_EQ(written, request.size());
  EXPECT_EQ(ReadFromPort(m_pty, request.size()), request);

  const std::string reply("+OK=H1.0\r\n\r\n\0x", 15);
  ASSERT_EQ(m_pty.write(reply), SerialError::Ok);
  std::array<std::byte, 64> buffer{};
  std::size_t got = 0;
  ASSERT_EQ(m_port.read(buffer, got), SerialError::Ok);
  EXPECT_EQ(Text(std::span(buffer).first(got)), reply);
}

TEST_F(SerialDeviceTest, ReadReturnsNothingAfterItsTimeout) {
  ASSERT_EQ(m_port.open(m_pty.portPath()), SerialError::Ok);
  ASSERT_EQ(m_port.setTimeouts({10, 0, 20, 0, 0}), SerialError::Ok);
  std::array<std::byte, 16> buffer{};
  std::size_t got = 99;
  EXPECT_EQ(m_port.read(buffer, got), SerialError::Ok);
  EXPECT_EQ(got, 0u);
}

TEST_F(SerialDeviceTest, WakeStopsABlockedRead) {
  ASSERT_EQ(m_port.open(m_pty.portPath()), SerialError::Ok);
  // No time-outs: the read would wait forever for a byte.
  std::thread waker([this] {
    std::this_thread::sleep_for(50ms);
    m_port.wake();
  });
  std::array<std::byte, 16> buffer{};
  std::size_t got = 0;
  EXPECT_EQ(m_port.read(buffer, got), SerialError::Woken);
  waker.join();
}

TEST_F(SerialDeviceTest, HangUpIsDeviceGoneNotNoData) {
  ASSERT_EQ(m_port.open(m_pty.portPath()), SerialError::Ok);
  ASSERT_EQ(m_port.setTimeouts({10, 1, 10, 1, 1}), SerialError::Ok);
  m_pty.close();
  std::array<std::byte, 16> buffer{};
  std::size_t got = 0;
  EXPECT_EQ(m_port.read(buffer, got), SerialError::DeviceGone);
  std::size_t written = 0;
  EXPECT_EQ(m_port.write(Bytes("AT+\r"), written), SerialError::DeviceGone);
}

TEST_F(SerialDeviceTest, SecondOpenOfTheSamePortIsBusy) {
  ASSERT_EQ(m_port.open(m_pty.portPath()), SerialError::Ok);
  SerialDevice other;
  EXPECT_EQ(other.open(m_pty.portPath()), SerialError::Busy);
  m_port.close();
  EXPECT_EQ(other.open(m_pty.portPath()), SerialError::Ok);
}

TEST_F(SerialDeviceTest, SymlinkedNameIsResolved) {
  std::filesystem::path link = std::filesystem::temp_directory_path() / ("kit-serial-link-" + std::to_string(::getpid()));
  std::filesystem::remove(link);
  std::filesystem::create_symlink(m_pty.portPath(), link);
  EXPECT_EQ(m_port.open(link.string()), SerialError::Ok);
  EXPECT_EQ(m_port.path(), m_pty.portPath());
  std::filesystem::remove(link);
}

TEST_F(SerialDeviceTest, PurgeDropsStaleInput) {
  ASSERT_EQ(m_port.open(m_pty.portPath()), SerialError::Ok);
  ASSERT_EQ(m_port.setTimeouts({10, 1, 50, 1, 1}), SerialError::Ok);
  ASSERT_EQ(m_pty.write("stale"), SerialError::Ok);
  // The line discipline takes the bytes in on its own time.
  for (int i = 0; i < 500 && m_port.queuedInput() < 5; ++i) std::this_thread::sleep_for(10ms);
  ASSERT_EQ(m_port.queuedInput(), 5u);
  ASSERT_EQ(m_port.purge(SerialPurge::Both), SerialError::Ok);
  ASSERT_EQ(m_pty.write("fresh"), SerialError::Ok);
  std::array<std::byte, 16> buffer{};
  std::size_t got = 0;
  ASSERT_EQ(m_port.read(buffer, got), SerialError::Ok);
  EXPECT_EQ(Text(std::span(buffer).first(got)), "fresh");
}

TEST(SerialDeviceErrors, OpenRefusesWhatIsNoPort) {
  SerialDevice port;
  EXPECT_EQ(port.open("/nonexistent/ttyUSB9"), SerialError::NotFound);
  EXPECT_EQ(port.open(""), SerialError::InvalidArgument);

  std::filesystem::path file = std::filesystem::temp_directory_path() / ("kit-serial-file-" + std::to_string(::getpid()));
  std::ofstream(file) << "x";
  EXPECT_EQ(port.open(file.string()), SerialError::Unsupported);
  std::filesystem::remove(file);

  std::array<std::byte, 4> buffer{};
  std::size_t got = 0;
  EXPECT_EQ(port.read(buffer, got), SerialError::NotOpen);
  EXPECT_EQ(port.configure({}), SerialError::NotOpen);
}

TEST_F(SerialDeviceTest, ConfigureRejectsImpossibleSettingsAndKeepsThePortOpen) {
  ASSERT_EQ(m_port.open(m_pty.portPath()), SerialError::Ok);
  EXPECT_EQ(m_port.configure({12345, 8, 1, SerialParity::None}), SerialError::InvalidArgument);
  EXPECT_EQ(m_port.configure({9600, 9, 1, SerialParity::None}), SerialError::InvalidArgument);
  EXPECT_EQ(m_port.configure({9600, 7, 3, SerialParity::Even}), SerialError::InvalidArgument);
  EXPECT_EQ(m_port.configure({9600, 7, 2, SerialParity::Even}), SerialError::Ok);
  EXPECT_TRUE(m_port.isOpen());
}

}  // namespace
}  // namespace kit
