// tarnwave-cli as a real process against a virtual module on a pseudo-terminal.

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <thread>
#include <cstdlib>
#include <unistd.h>
#include <string>

#include "config_tool/protocol/tests/scripted_line.h"
#include "platform/serial/pseudo_terminal.h"
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

// Over the dongle, a missing driver host is a link error (1); a missing module or
// channel is a usage error (2).
TEST(TarnwaveCliDongle, LinkErrorsExit1AndUsageErrors2) {
  char folder[] = "/tmp/tarnwave-cli-nohost-XXXXXX";
  ASSERT_NE(::mkdtemp(folder), nullptr);
  const char* previous = std::getenv("KIT_RUNTIME_DIR");
  const std::string saved = previous ? previous : "";
  ::setenv("KIT_RUNTIME_DIR", folder, 1);
  CliRun get = Cli("--dongle --channel 6 --module 001EC0060001 get Ssid");
  CliRun noModule = Cli("--dongle --channel 6 get Ssid");
  CliRun noChannel = Cli("--dongle --module 001EC0060001 get Ssid");
  if (previous) ::setenv("KIT_RUNTIME_DIR", saved.c_str(), 1); else ::unsetenv("KIT_RUNTIME_DIR");
  ::rmdir(folder);
  EXPECT_EQ(get.exitCode, 1) << get.output;
  EXPECT_NE(get.output.find("cannot open the radio dongle"), std::string::npos) << get.output;
  EXPECT_EQ(noModule.exitCode, 2) << noModule.output;
  EXPECT_EQ(noChannel.exitCode, 2) << noChannel.output;
}

// The module keeps texts in code page 936; the command line speaks UTF-8.
TEST_F(TarnwaveCliTest, ChineseSsidTravelsInCodePage936) {
  // A module that already holds a Chinese SSID (set by the configuration page).
  m_module.inspect([](kitsim::ModuleEngine& e) { ASSERT_EQ(e.handle("AT+SSID=\"\xC9\xCC\xB5\xEA\"").error, 0); });
  CliRun before = Cli(m_port + "get --json Ssid");
  ASSERT_EQ(before.exitCode, 0) << before.output;
  EXPECT_EQ(before.output, "{\n  \"Ssid\": \"商店\"\n}\n");

  CliRun set = Cli(m_port + "set Ssid=中文网络 Encry=3 Key=密码");
  ASSERT_EQ(set.exitCode, 0) << set.output;
  std::string ssid;
  m_module.inspect([&](kitsim::ModuleEngine& e) { ssid = e.running().at("SSID"); });
  EXPECT_EQ(ssid, "\"\xD6\xD0\xCE\xC4\xCD\xF8\xC2\xE7\"");
  CliRun json = Cli(m_port + "get --json Ssid Key");
  ASSERT_EQ(json.exitCode, 0) << json.output;
  EXPECT_EQ(json.output, "{\n  \"Ssid\": \"中文网络\",\n  \"Key\": \"密码\"\n}\n");
  CliRun plain = Cli(m_port + "get Ssid");
  EXPECT_EQ(plain.output, "Ssid=中文网络\n");
  // A character the code page does not have cannot be sent.
  CliRun emoji = Cli(m_port + "set Ssid=caf\xF0\x9F\x98\x80");
  EXPECT_EQ(emoji.exitCode, 2) << emoji.output;
  EXPECT_NE(emoji.output.find("code page 936"), std::string::npos) << emoji.output;
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
      // A value must not carry a command of its own, nor end its quotes early.
      {m_port + "set \"$(printf 'Ssid=x\"\\rAT+RSTF\\rAT+SSID=\"y')\"", 2, "Ssid must not contain a line break"},
      {m_port + "set \"$(printf 'Ssid=a\\nDhcpEn=0')\"", 2, "Ssid must not contain a line break"},
      {m_port + "set 'Key=a\"b'", 2, "Key must not contain a double quote"},
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
  for (const std::string& request : m_module.requests()) EXPECT_EQ(request.find("RSTF"), std::string::npos) << request;
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

// Every reply 2.1 s late: slower than a short read, within every command's time-out.
// Each reply must go to its own request, never to the next one.
TEST_F(TarnwaveCliTest, SlowModuleGetsEveryReplyMatchedToItsRequest) {
  m_module.setFaults({.delayMs = 2100});
  CliRun get = Cli(m_port + "get Ssid Port BaudRate Host");
  ASSERT_EQ(get.exitCode, 0) << get.output;
  EXPECT_EQ(get.output, "Ssid=KitNet\nPort=8899\nBaudRate=115200\nHost=127.0.0.1\n");
  CliRun set = Cli(m_port + "set Port=7777");
  ASSERT_EQ(set.exitCode, 0) << set.output;
  std::string atrm;
  m_module.inspect([&](kitsim::ModuleEngine& e) { atrm = e.running().at("ATRM"); });
  EXPECT_EQ(atrm, "0,0,\"127.0.0.1\",7777");
}

TEST_F(TarnwaveCliTest, ModuleSlowerThanEveryTimeoutIsNoResponse) {
  m_module.setFaults({.delayMs = 4000});
  CliRun get = Cli(m_port + "get Ssid");
  EXPECT_EQ(get.exitCode, 1) << get.output;
  EXPECT_NE(get.output.find("no response!"), std::string::npos) << get.output;
  EXPECT_EQ(get.output.find("Ssid="), std::string::npos) << get.output;
}

// A module that answers every request with a plain "+OK": nothing can be read, so
// no group is written from values that were never read.
TEST(TarnwaveCliScripted, GroupIsWrittenOnlyAfterItWasRead) {
  using Line = tarnwave::testing::ScriptedLine;
  Line line([](const std::string&) { return std::vector<Line::Chunk>{{std::chrono::milliseconds(0), "+OK\r\n\r\n"}}; });
  CliRun set = Cli("--port " + line.portPath() + " set Port=7777");
  EXPECT_EQ(set.exitCode, 1) << set.output;
  EXPECT_NE(set.output.find("Parameters get error, ATRM"), std::string::npos) << set.output;
  EXPECT_EQ(line.received().find("AT+ATRM=0"), std::string::npos) << line.received();
}

// A reply with terminal escapes and binary bytes: escaped on a terminal, byte for byte
// into a pipe or with --raw.
TEST(TarnwaveCliScripted, AtReplyIsEscapedOnlyOnATerminal) {
  using Line = tarnwave::testing::ScriptedLine;
  const std::string reply = "+OK=\x1b[2J\x07" "bell\xff\r\nline2\r\n\r\n";
  Line line([&](const std::string& request) {
    return std::vector<Line::Chunk>{{std::chrono::milliseconds(0), request == "AT+QVER=?" ? reply : "+OK\r\n\r\n"}};
  });
  const std::string command = kit::test_support::ProgramPath("tarnwave-cli").string() + " --port " + line.portPath() + " at ";
  auto onTerminal = [&](const std::string& arguments) {
    kit::PseudoTerminal terminal;
    EXPECT_EQ(terminal.open(), kit::SerialError::Ok);
    CliRun run = kit::test_support::RunShell(command + arguments + " >" + terminal.portPath());
    EXPECT_EQ(run.exitCode, 0);
    std::string shown;
    std::array<std::byte, 256> buffer{};
    for (std::size_t got = 1; got > 0;) {
      got = 0;
      if (terminal.read(buffer, got, std::chrono::milliseconds(200)) != kit::SerialError::Ok) break;
      shown.append(reinterpret_cast<const char*>(buffer.data()), got);
    }
    return shown;
  };
  EXPECT_EQ(onTerminal("AT+QVER=?"), "+OK=\\x1B[2J\\x07bell\\xFF\nline2\n");
  EXPECT_EQ(onTerminal("--raw AT+QVER=?"), "+OK=\x1b[2J\x07" "bell\xff\r\nline2\n");
  EXPECT_EQ(kit::test_support::RunShell(command + "AT+QVER=?").output, "+OK=\x1b[2J\x07" "bell\xff\r\nline2\n");
}

}  // namespace
