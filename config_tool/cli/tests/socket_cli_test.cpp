// tarnwave-cli socket and scan as real processes: a virtual module on a pseudo-terminal
// whose sockets reach a real echo server on the loopback network.

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "platform/test_support/loopback_echo_server.h"
#include "platform/test_support/program_path.h"
#include "platform/test_support/program_run.h"
#include "sim/module/serial_module_server.h"

namespace {

using kit::test_support::ProgramRun;

class SocketCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_module.start());
    ASSERT_TRUE(m_echo.ok());
    m_port = "--port " + m_module.portPath() + " ";
  }
  ProgramRun cli(const std::string& arguments) {
    return kit::test_support::RunShell("'" + kit::test_support::ProgramPath("tarnwave-cli").string() + "' " + m_port +
                                       arguments + " 2>/dev/null");
  }
  ProgramRun cliWithErrors(const std::string& arguments) {
    return kit::test_support::RunProgram(kit::test_support::ProgramPath("tarnwave-cli"), m_port + arguments);
  }
  void waitEchoed(std::size_t bytes) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (m_echo.echoed() < bytes && std::chrono::steady_clock::now() < until)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));  // the echo on its way back
  }

  kitsim::SerialModuleServer m_module{kitsim::VirtualModuleAddress(11), {}, true};
  kit::test_support::LoopbackEchoServer m_echo;
  std::string m_port;
};

TEST_F(SocketCliTest, ARoundTripWithBinaryData) {
  const std::string port = std::to_string(m_echo.port());
  ProgramRun create = cli("socket create tcp --client 127.0.0.1 --port " + port);
  ASSERT_EQ(create.exitCode, 0);
  EXPECT_EQ(create.output, "1\n");

  ProgramRun send = cli("socket send 1 --hex \"41 42 0D 00 9c ff\"");
  ASSERT_EQ(send.exitCode, 0);
  EXPECT_EQ(send.output, "6\n");
  waitEchoed(6);
  ProgramRun state = cli("socket state");
  EXPECT_EQ(state.output, "1\tConnect\t127.0.0.1\t" + port + "\t6\n");
  ProgramRun hex = cli("socket recv 1 100 --hex");
  ASSERT_EQ(hex.exitCode, 0);
  EXPECT_EQ(hex.output, "41 42 0d 00 9c ff \n");

  const std::string text = "twenty-one characters";
  ASSERT_EQ(cli("socket send 1 '" + text + "'").exitCode, 0);
  waitEchoed(6 + text.size());
  ProgramRun raw = cli("socket recv 1 500");
  EXPECT_EQ(raw.output, text);

  EXPECT_EQ(cli("socket close 1").exitCode, 0);
  ProgramRun again = cliWithErrors("socket close 1");
  EXPECT_EQ(again.exitCode, 1);
  EXPECT_NE(again.output.find("Close failed,invalid socket number!"), std::string::npos) << again.output;
}

TEST_F(SocketCliTest, TheDialogsChecks) {
  struct Case {
    std::string arguments;
    std::string message;
  };
  const Case cases[] = {
      {"socket create tcp --client 127.0.0.1 --port 0", "Please input the right socket(1-65535)！"},
      {"socket create udp --server 10000001 --port 80", "Please input the right connect overtime time !"},
      {"socket create tcp --port 80", "give --client HOST or --server TIMEOUT"},
      {"socket send 0 hi", "Please input the right socket number!"},
      {"socket send 1 " + std::string(501, 'x'), "Send data number need less than 500!!"},
      {"socket send 1 --hex \"A B\"", "Please input the send data number!!"},
      {"socket recv 1 501", "Receive data number need less than 500!"},
      {"socket recv 257 5", "Please input the currect socket number!"},
  };
  for (const Case& c : cases) {
    ProgramRun run = cliWithErrors(c.arguments);
    EXPECT_EQ(run.exitCode, 2) << c.arguments << "\n" << run.output;
    EXPECT_NE(run.output.find(c.message), std::string::npos) << c.arguments << "\n" << run.output;
  }
  for (const std::string& request : m_module.requests()) EXPECT_FALSE(request.starts_with("AT+SK")) << request;
}

TEST_F(SocketCliTest, ScanAsTheConsoleShowsIt) {
  ProgramRun scan = cli("scan");
  ASSERT_EQ(scan.exitCode, 0);
  EXPECT_EQ(scan.output,
            "Scan complete.\r\nNetMode Encry   BSSID    Channel Signal(%)  SSID   \r\n\r\n"
            "Infra    No  0A1B2C3D4E01   6   -42(75%)  KitNet\r\t\r\n"
            "Infra    Yes 0A1B2C3D4E02   1   -67(26%)  Shop-Guest\r\t\r\n"
            "Adhoc    Yes 0A1B2C3D4E03  11   -80( 1%)  Backoffice\r\t\r\n"
            "\r\n");
  ProgramRun json = cli("scan --json");
  ASSERT_EQ(json.exitCode, 0);
  EXPECT_NE(json.output.find("\"ssid\": \"Backoffice\""), std::string::npos) << json.output;
  EXPECT_NE(json.output.find("\"percent\": 26"), std::string::npos) << json.output;
  // A name in code page 936 comes out as UTF-8, a control byte in it as \xHH; the
  // layout's own line ends stay as they are.
  m_module.inspect([](kitsim::ModuleEngine& e) { e.networks()[1].ssid = "\xD6\xD0\xCE\xC4\x1B[2J"; });
  scan = cli("scan");
  ASSERT_EQ(scan.exitCode, 0);
  EXPECT_NE(scan.output.find("-67(26%)  \xE4\xB8\xAD\xE6\x96\x87\\x1B[2J\r\t\r\nAdhoc"), std::string::npos)
      << scan.output;
}

}  // namespace
