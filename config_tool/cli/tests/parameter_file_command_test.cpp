// tarnwave-cli export and import as real processes against a virtual module on a
// pseudo-terminal.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/test_support/file_contents.h"
#include "platform/test_support/program_path.h"
#include "platform/test_support/program_run.h"
#include "sim/module/serial_module_server.h"

namespace {

using kit::test_support::ProgramRun;
using kit::test_support::ReadFileBytes;

ProgramRun Cli(const std::string& arguments) {
  return kit::test_support::RunProgram(kit::test_support::ProgramPath("tarnwave-cli"), arguments);
}

// WEP128 with key index 4, static addresses, automatic work mode as client, fixed
// channel 6, fixed BSSID, web server on.
const std::string kExample =
    "[Wireless Set]\r\nSsid=Shop_1\r\nEncry=2\r\nKeyType=1\r\nKeyId=4\r\nKey=abcdefghijklm\r\n"
    "[Net Set]\r\nDhcpEn=0\r\nIpAddr=192.168.1.50\r\nMask=255.255.255.0\r\nNetGate=192.168.1.1\r\nDns=8.8.8.8\r\n"
    "[Auto Mode]\r\nModeEn=0\r\nProtocol=1\r\nCsMode=0\r\nHost=10.0.0.2\r\nPassTime=0\r\nPort=9000\r\n"
    "[Uart Set]\r\nBaudRate=115200\r\nDataBit=0\r\nStopBit=0\r\nParity=0\r\n"
    "[Advance Wireless Set]\r\nChList=7ff\r\nChSet=6\r\nNetType=0\r\nAdhocAutoBuild=0\r\nBgMode=0\r\n"
    "MaxRate=7\r\nBssid=001a2b3c4d5e\r\nReConNum=9\r\nRoamEn=1\r\n"
    "[Advance System Set]\r\nEscape=05\r\nEscapeTime=1500\r\nEscapePeriod=200\r\nEscapeLength=256\r\n"
    "WebsEn=1\r\nWebsPort=8080\r\nGpio1Mode=1\r\nComMode=1\r\nKey=abc123\r\n";

class ParameterFileCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_module.start());
    m_port = "--port " + m_module.portPath() + " ";
    std::string pattern = (std::filesystem::temp_directory_path() / "tarnwave-cli-XXXXXX").string();
    m_dir = ::mkdtemp(pattern.data());
  }
  void TearDown() override { std::filesystem::remove_all(m_dir); }

  std::string file(const std::string& name, const std::string& content) const {
    const std::string path = m_dir + "/" + name;
    std::ofstream(path, std::ios::binary) << content;
    return path;
  }

  // The set requests (not queries) the module received.
  std::vector<std::string> sets() {
    std::vector<std::string> result;
    for (const std::string& r : m_module.requests())
      if (!r.ends_with("=?") && r != "AT+" && r != "AT+E") result.push_back(r);
    return result;
  }

  kitsim::SerialModuleServer m_module{kitsim::VirtualModuleAddress(11), {}, true};
  std::string m_port;
  std::string m_dir;
};

TEST_F(ParameterFileCommandTest, ImportSendsOnlyTheDifferencesSavesAndExportReadsThemBack) {
  const std::string example = file("example.cfg", kExample);
  ProgramRun import = Cli(m_port + "import " + example);
  ASSERT_EQ(import.exitCode, 0) << import.output;
  // The module's factory serial line, network type and work mode switch already match
  // the file: UART, WPRT and ATM are not sent (nor WATC, as the network is BSS).
  EXPECT_EQ(import.output,
            "SSID\nENCRY\nKEY\nNIP\nATLT\nATPT\nBSSID\nCHL\nCHLL\nWBGR\nWARM\nWARC\nATRM\nESPC\nESPT\nWEBS\nIOM\n"
            "CMDM\nPASS\nPMTF\n");
  const std::vector<std::string> sent = sets();
  ASSERT_FALSE(sent.empty());
  EXPECT_EQ(sent.front(), "AT+SSID=\"Shop_1\"");
  EXPECT_EQ(sent.back(), "AT+PMTF");
  std::string flashKey;
  m_module.inspect([&](kitsim::ModuleEngine& e) { flashKey = e.flash().at("KEY"); });
  EXPECT_EQ(flashKey, "1,4,\"abcdefghijklm\"");

  // What the module holds now exports to the same file.
  const std::string exported = m_dir + "/exported.cfg";
  ProgramRun exportRun = Cli(m_port + "export " + exported);
  ASSERT_EQ(exportRun.exitCode, 0) << exportRun.output;
  EXPECT_EQ(ReadFileBytes(exported), kExample);

  // A second import finds nothing to change and does not touch the flash.
  const std::size_t before = sets().size();
  ProgramRun again = Cli(m_port + "import " + exported);
  EXPECT_EQ(again.exitCode, 0) << again.output;
  EXPECT_EQ(again.output, "No valid parameters to modify!\n");
  EXPECT_EQ(sets().size(), before);
}

TEST_F(ParameterFileCommandTest, RefusalsAndErrors) {
  std::string badChannel = kExample;
  badChannel.replace(badChannel.find("ChSet=6"), 7, "ChSet=15");
  std::string badKey = kExample;
  badKey.replace(badKey.find("abcdefghijklm"), 13, "abcdefghijkl");  // WEP128 ASCII takes 13
  struct Case {
    std::string arguments;
    int exitCode;
    std::string output;  // exactly
  };
  const Case cases[] = {
      {"import --check " + file("channel.cfg", badChannel), 1, "The ChSet in profile error，import failed！\n"},
      {m_port + "import " + file("channel.cfg", badChannel), 1, "The ChSet in profile error，import failed！\n"},
      {"import --check " + file("key.cfg", badKey), 1, "The key length must be 13!\n"},
      {"import --check " + m_dir + "/missing.cfg", 1, "The SSID in profile error,import failed！\n"},
      {"import --check " + file("ok.cfg", kExample), 0, m_dir + "/ok.cfg: the parameters can be imported\n"},
      {"import " + file("ok.cfg", kExample), 2, "tarnwave-cli: no module chosen: give --port PATH (see 'tarnwave-cli ports')\n"},
      {m_port + "export " + m_dir + "/no-such-folder/x.cfg", 1,
       "tarnwave-cli: cannot write " + m_dir + "/no-such-folder/x.cfg: No such file or directory\n"},
      {"import", 2, ""},
  };
  for (const Case& c : cases) {
    ProgramRun run = Cli(c.arguments);
    EXPECT_EQ(run.exitCode, c.exitCode) << c.arguments << "\n" << run.output;
    if (!c.output.empty()) EXPECT_EQ(run.output, c.output) << c.arguments;
  }
  EXPECT_TRUE(sets().empty());  // nothing refused reached the module
}

TEST_F(ParameterFileCommandTest, AModuleThatStopsAnsweringGivesTheQueryNote) {
  m_module.setFaults({.silent = true});
  ProgramRun run = Cli(m_port + "export " + m_dir + "/x.cfg");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_FALSE(std::filesystem::exists(m_dir + "/x.cfg"));
}

}  // namespace
