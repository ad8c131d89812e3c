// The serial control and the Enter steps over real pseudo-terminals.
#include "printer_demo/sysenv/comm_control.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/serial/pseudo_terminal.h"
#include "platform/test_support/terminal_drain.h"
#include "printer_demo/core/print_actions.h"
#include "printer_demo/core/sample_receipts.h"
#include "printer_demo/sysenv/platform_serial_line.h"
#include "printer_demo/sysenv/serial_setup.h"

namespace j57 {
namespace {

using kit::test_support::DrainTerminal;

class CommControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(m_printer.open(), kit::SerialError::Ok);
    ::setenv("J57_COM2", m_printer.portPath().c_str(), 1);
  }
  void TearDown() override { ::unsetenv("J57_COM2"); }

  kit::PseudoTerminal m_printer;
  DosDeviceTable m_devices;
  CommControl m_comm{m_devices, PlatformSerialLineOpener()};
};

TEST_F(CommControlTest, EnterStepsOpenThePortWithTheFixedProperties) {
  ASSERT_EQ(OpenSerialPort(m_comm, PortNumberFromName("COM2"), LineNumbers{19200, 8, 1}), std::nullopt);
  EXPECT_TRUE(m_comm.PortOpen());
  EXPECT_EQ(m_comm.CommPort(), 2);
  EXPECT_EQ(m_comm.OutBufferSize(), 1024);
  EXPECT_EQ(m_comm.InBufferSize(), 512);
  EXPECT_EQ(m_comm.RThreshold(), 1);
  EXPECT_EQ(m_comm.SThreshold(), 1);
  EXPECT_EQ(m_comm.InputLen(), 1);
  EXPECT_EQ(m_comm.Settings(), "19200,N,8,1");
  EXPECT_EQ(m_comm.devicePath(), m_printer.portPath());
  // Properties fixed while open are refused.
  EXPECT_TRUE(m_comm.setCommPort(3).has_value());
  EXPECT_TRUE(m_comm.setOutBufferSize(10).has_value());
}

TEST_F(CommControlTest, ReceiptArrivesByteForByte) {
  ASSERT_EQ(OpenSerialPort(m_comm, 2, LineNumbers{9600, 8, 1}), std::nullopt);
  // A print action writes through the open control.
  struct Connection final : PrinterConnection {
    CommControl& comm;
    explicit Connection(CommControl& c) : comm(c) {}
    bool serialOpen() const override { return comm.PortOpen(); }
    ByteSink& serialPort() override { return comm; }
    std::string parallelName() const override { return "LPT1"; }
    std::variant<std::unique_ptr<ByteSink>, std::string> openParallel(int) override { return std::string("unused"); }
  } connection(m_comm);
  FixedWallClock clock(LocalTime{2026, 3, 7, 9, 5, 4});
  ASSERT_FALSE(PrintActions(connection, clock).printChecks().failed());
  const Bytes expected = Join(ChecksReceipt(PrintRoute::Serial, "2026/03/07   09:05"));
  EXPECT_EQ(DrainTerminal(m_printer, expected.size()), std::string(expected.begin(), expected.end()));
}

TEST_F(CommControlTest, FailuresLeaveThePortClosedAndSayWhy) {
  // A port name outside COM1 to COM4 gives port number 0.
  auto error = OpenSerialPort(m_comm, PortNumberFromName("COM9"), LineNumbers{});
  ASSERT_TRUE(error);
  EXPECT_NE(error->find("Invalid port number 0"), std::string::npos) << *error;
  EXPECT_FALSE(m_comm.PortOpen());

  ::setenv("J57_COM3", "/nonexistent/tty", 1);
  error = OpenSerialPort(m_comm, 3, LineNumbers{});
  ::unsetenv("J57_COM3");
  ASSERT_TRUE(error);
  EXPECT_NE(error->find("/nonexistent/tty"), std::string::npos) << *error;
  EXPECT_FALSE(m_comm.PortOpen());

  error = OpenSerialPort(m_comm, 2, LineNumbers{1234, 8, 1});
  ASSERT_TRUE(error);
  EXPECT_NE(error->find("1234,N,8,1"), std::string::npos) << *error;
  EXPECT_FALSE(m_comm.PortOpen());

  error = OpenSerialPort(m_comm, 2, LineNumbers{9600, 9, 1});
  ASSERT_TRUE(error);
  EXPECT_FALSE(m_comm.PortOpen());
  EXPECT_TRUE(m_comm.setOutput(std::vector<std::uint8_t>{0x0A}).has_value());
}

TEST_F(CommControlTest, ClosedPortCanBeReopenedWithNewSettingsAndIsExclusive) {
  ASSERT_EQ(OpenSerialPort(m_comm, 2, LineNumbers{9600, 8, 1}), std::nullopt);
  CommControl other(m_devices, PlatformSerialLineOpener());
  EXPECT_TRUE(OpenSerialPort(other, 2, LineNumbers{}).has_value()) << "a second open of the same port";
  m_comm.closePort();
  EXPECT_FALSE(m_comm.PortOpen());
  ASSERT_EQ(OpenSerialPort(m_comm, 2, LineNumbers{115200, 7, 2}), std::nullopt);
  EXPECT_EQ(m_comm.Settings(), "115200,N,7,2");
}

TEST(ConvertLineTexts, NumbersOfEachBox) {
  auto line = ConvertLineTexts("38400", " 7 ", "2");
  ASSERT_TRUE(std::holds_alternative<LineNumbers>(line));
  EXPECT_EQ(std::get<LineNumbers>(line).baud, 38400);
  EXPECT_EQ(std::get<LineNumbers>(line).dataBits, 7);
  const struct {
    const char* baud;
    const char* data;
    const char* stop;
    const char* names;
  } refused[] = {{"fast", "8", "1", "baud rate"},
                 {"", "8", "1", "baud rate"},
                 {"9600", "eight", "1", "data bits"},
                 {"9600", "8", "1.5", "stop bits"},
                 {"9600", "40000", "1", "data bits"},
                 {"99999999999", "8", "1", "baud rate"}};
  for (const auto& c : refused) {
    const auto result = ConvertLineTexts(c.baud, c.data, c.stop);
    ASSERT_TRUE(std::holds_alternative<std::string>(result)) << c.baud << c.data << c.stop;
    EXPECT_NE(std::get<std::string>(result).find(c.names), std::string::npos) << std::get<std::string>(result);
  }
  EXPECT_EQ(PortNumberFromName("COM4"), 4);
  EXPECT_EQ(PortNumberFromName("com1"), 0);
  EXPECT_EQ(PortNumberFromName("COM5"), 0);
}

}  // namespace
}  // namespace j57
