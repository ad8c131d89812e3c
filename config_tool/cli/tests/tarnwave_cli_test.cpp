// tarnwave-cli as a real process against a virtual module on a pseudo-terminal.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <cstdlib>
#include <string>

#include "platform/test_support/program_path.h"
#include "platform/test_support/program_run.h"
#include "sim/module/serial_module_server.h"

namespace {

using CliRun = kit::test_support::ProgramRun;

// tarnwave-cli with its standard output and standard error together.
CliRun Cli(const std::string& arguments) {
  return kit::test_support::RunProgram(kit::test_support::ProgramPath("tarnwave-cli"), arguments);
}

class TarnwaveCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_module.start());
    m_port = "--port " + m_module.portPath() + " ";
  }
  // The module starts with echo on, as after a reset: the tool must cope with that.
  kitsim::SerialModuleServer m_module{kitsim::VirtualModuleAddress(3), {}, true};
  std::string m_port;
};

TEST_F(TarnwaveCliTest, SetWithSaveThenGet) {
  CliRun set = Cli(m_port + "set --save Ssid=Shop_2 Key=abc KeyType=1 Encry=1 ChSet=11");
  ASSERT_EQ(set.exitCode, 0) << set.output;
  CliRun get = Cli(m_port + "get Ssid Encry KeyType KeyId Key ChSet");
  ASSERT_EQ(get.exitCode, 0) << get.output;
  EXPECT_EQ(get.output, "Ssid=Shop_2\nEncry=1\nKeyType=1\nKeyId=1\nKey=abc\nChSet=11\n");

  // The key group was read and sent whole, in set-and-save form.
  bool sawKey = false;
  for (const std::string& request : m_module.requests()) sawKey |= request == "AT+KEY=!1,1,\"abc\"";
  EXPECT_TRUE(sawKey);
  std::string flashSsid;
  m_module.inspect([&](kitsim::ModuleEngine& e) { flashSsid = e.flash().at("SSID"); });
  EXPECT_EQ(flashSsid, "\"Shop_2\"");
}

TEST_F(TarnwaveCliTest, JsonOutputAndPlainSetIsNotSaved) {
  ASSERT_EQ(Cli(m_port + "set Escape=1b DhcpEn=1").exitCode, 0);
  CliRun get = Cli(m_port + "get --json Escape DhcpEn");
  ASSERT_EQ(get.exitCode, 0) << get.output;
  EXPECT_EQ(get.output, "{\n  \"Escape\": \"1b\",\n  \"DhcpEn\": \"1\"\n}\n");
  std::string flashEscape;
  m_module.inspect([&](kitsim::ModuleEngine& e) { flashEscape = e.flash().at("ESPC"); });
  EXPECT_EQ(flashEscape, "2B");
}

TEST_F(TarnwaveCliTest, ErrorsAndExitCodes) {
  struct Case {
    std::string arguments;
    int exitCode;
    std::string message;
  };
  const Case cases[] = {
      {m_port + "set ChSet=15", 1, "Parameter setting error, CHL: parameters is invalid! (code 4)"},
      {m_port + "set Nope=1", 2, "is not KEY=VALUE"},
      {m_port + "set Bssid=12", 2, "Bssid is 0 or twelve hex digits"},
      {m_port + "get Nope", 2, "unknown key"},
      {m_port + "at \"AT+CHL=1,99\"", 1, "parameters is invalid!"},
      {"get", 2, "give --port"},
      {"--port /dev/no-such-port info", 1, "invalid handle!"},
      {"frobnicate", 2, ""},
      {m_port + "--baud 1234 get", 2, ""},
  };
  for (const Case& c : cases) {
    CliRun run = Cli(c.arguments);
    EXPECT_EQ(run.exitCode, c.exitCode) << c.arguments << "\n" << run.output;
    EXPECT_NE(run.output.find(c.message), std::string::npos) << c.arguments << "\n" << run.output;
  }
  EXPECT_EQ(Cli("--help").exitCode, 0);
  EXPECT_EQ(Cli("set --help").exitCode, 0);
}

TEST_F(TarnwaveCliTest, ActionsReachTheModule) {
  CliRun info = Cli(m_port + "info");
  ASSERT_EQ(info.exitCode, 0) << info.output;
  EXPECT_NE(info.output.find("Mac=02-4B"), std::string::npos);
  EXPECT_NE(info.output.find("Version=H"), std::string::npos);
  CliRun at = Cli(m_port + "at \"AT+QMAC=?\"");
  EXPECT_EQ(at.exitCode, 0);
  EXPECT_EQ(at.output.substr(0, 8), "+OK=024B");
  CliRun scan = Cli(m_port + "scan");
  EXPECT_EQ(scan.exitCode, 0);
  EXPECT_NE(scan.output.find("Backoffice"), std::string::npos);
  EXPECT_EQ(Cli(m_port + "join").exitCode, 0);
  EXPECT_NE(Cli(m_port + "link").output.find("Connected=1"), std::string::npos);
  EXPECT_EQ(Cli(m_port + "flash").exitCode, 0);
  EXPECT_EQ(Cli(m_port + "factory").exitCode, 0);
  EXPECT_EQ(Cli(m_port + "reset").exitCode, 0);
  // The module takes the request after the program has gone; give it a moment.
  for (int i = 0; i < 100 && m_module.requests().back() != "AT+Z"; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(m_module.requests().back(), "AT+Z");
}

}  // namespace
