#include "config_tool/links/serial_port.h"

#include <gtest/gtest.h>

#include <array>
#include <thread>

#include "platform/serial/pseudo_terminal.h"

namespace tarnwave {
namespace {

using namespace std::chrono_literals;

TEST(SerialSettingsText, FilledFromTheIndexes) {
  EXPECT_EQ(SerialSettingsText({9600, 1, 0, 2}), "baud=9600 parity=E data=7 stop=1");
  EXPECT_EQ(SerialSettingsText({115200, 0, 1, 1}), "baud=115200 parity=O data=8 stop=2");
  EXPECT_EQ(SerialSettingsText({1200, 0, 0, 0}), "baud=1200 parity=N data=8 stop=1");
}

TEST(SerialSettingsText, AppliedOnTopOfTheCurrentSettings) {
  auto line = ApplySerialSettingsText("baud=9600 parity=E data=7 stop=1", {});
  ASSERT_TRUE(line);
  EXPECT_EQ(line->baudRate, 9600);
  EXPECT_EQ(line->parity, kit::SerialParity::Even);
  EXPECT_EQ(line->dataBits, 7);
  EXPECT_EQ(line->stopBits, 1);
  auto partial = ApplySerialSettingsText("stop=2", {57600, 8, 1, kit::SerialParity::Odd});
  ASSERT_TRUE(partial);
  EXPECT_EQ(partial->baudRate, 57600);
  EXPECT_EQ(partial->stopBits, 2);
  for (const char* bad : {"baud=", "baud=96x0", "parity=X", "speed=9600", "baud"})
    EXPECT_FALSE(ApplySerialSettingsText(bad, {})) << bad;
}

TEST(WindowsPortPath, LongNamesGetTheDevicePrefix) {
  EXPECT_EQ(WindowsPortPath("COM12"), "\\\\.\\COM12");
  EXPECT_EQ(WindowsPortPath("COM3"), "COM3");
}

TEST(SerialPortOnPty, WriteDropsStaleInputAndReadReturnsWhatArrived) {
  kit::PseudoTerminal pty;
  ASSERT_EQ(pty.open(), kit::SerialError::Ok);
  SerialPort port;
  ASSERT_TRUE(port.OpenPort(pty.portPath(), {}));

  ASSERT_EQ(pty.write("stale reply"), kit::SerialError::Ok);
  for (int i = 0; i < 500 && port.device().queuedInput() < 11; ++i) std::this_thread::sleep_for(10ms);
  ASSERT_EQ(port.device().queuedInput(), 11u);
  std::string request = "AT+\r";
  std::size_t written = 0;
  ASSERT_TRUE(port.WritePort(std::as_bytes(std::span(request)), written));
  EXPECT_EQ(written, request.size());

  ASSERT_EQ(pty.write("+OK\r\n\r\n"), kit::SerialError::Ok);
  std::array<std::byte, 512> buffer{};
  std::string seen;
  for (int i = 0; i < 50 && seen.size() < 7; ++i) {
    std::size_t got = 0;
    ASSERT_TRUE(port.ReadPort(buffer, got));
    seen.append(reinterpret_cast<const char*>(buffer.data()), got);
  }
  EXPECT_EQ(seen, "+OK\r\n\r\n");
}

TEST(SerialPortOnPty, ConfigureReportsTheSystemErrorAndKeepsThePort) {
  kit::PseudoTerminal pty;
  ASSERT_EQ(pty.open(), kit::SerialError::Ok);
  SerialPort port;
  ASSERT_TRUE(port.OpenPort(pty.portPath(), {}));
  ConfigureResult bad = port.ConfigurePort({12345, 0, 0, 0});
  EXPECT_FALSE(bad.ok);
  EXPECT_NE(bad.systemError, 0);
  EXPECT_TRUE(port.isOpen());
  EXPECT_TRUE(port.ConfigurePort({9600, 1, 1, 2}).ok);
}

TEST(SerialPortOnPty, OpenFailsForAMissingPortAndListingShowsAnnouncedOnes) {
  SerialPort port;
  EXPECT_FALSE(port.OpenPort("/dev/does-not-exist", {}));
  std::string text;
  int count = SerialPort::EnumeratePorts(text);
  EXPECT_GE(count, 0);
  EXPECT_EQ(static_cast<int>(std::count(text.begin(), text.end(), ';')), count);
}

}  // namespace
}  // namespace tarnwave
