// The page's parameter steps against a virtual module on a pseudo-terminal.
#include "config_tool/app/parameter_steps.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "config_tool/protocol/command_table.h"
#include "config_tool/protocol/result_codes.h"
#include "sim/module/serial_module_server.h"

namespace tarnwave {
namespace {

class ParameterStepsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_module.start());
    ASSERT_EQ(m_link.openSerial(m_module.portPath(), {}), 0);
    ASSERT_EQ(m_link.startWorker(), 0);
    ASSERT_EQ(RunParameterSteps(m_link, CommandForm::Query, m_current, m_edited, m_changed), 0);
    m_edited = m_current;
    m_queried = newRequests();
  }

  // The requests the module received since the last call.
  std::vector<std::string> newRequests() {
    std::vector<std::string> all = m_module.requests();
    std::vector<std::string> fresh(all.begin() + static_cast<long>(m_seen), all.end());
    m_seen = all.size();
    return fresh;
  }

  int set() { return RunParameterSteps(m_link, CommandForm::Set, m_current, m_edited, m_changed); }

  kitsim::SerialModuleServer m_module{kitsim::VirtualModuleAddress(21), {}, false};
  ModuleLink m_link;
  ModuleParameters m_current;
  ModuleParameters m_edited;
  bool m_changed = false;
  std::size_t m_seen = 0;
  std::vector<std::string> m_queried;  // what SetUp's query sent
};

TEST_F(ParameterStepsTest, QueryReadsInStepOrderAndSetSendsOnlyTheDifferences) {
  const std::vector<std::string>& queried = m_queried;
  // ENCRY is 0 and ATM 0 at the factory: KEY is skipped, ATRM read; WATC skipped (BSS).
  const std::vector<std::string> order = {"SSID", "ENCRY", "NIP",  "ATLT", "ATPT", "BSSID", "CHL",
                                          "CHLL", "WPRT",  "WBGR", "WARM", "WARC", "ATM",   "ATRM",
                                          "ESPC", "ESPT",  "WEBS", "IOM",  "CMDM", "UART",  "PASS"};
  ASSERT_EQ(queried.size(), order.size());
  for (std::size_t i = 0; i < order.size(); ++i) EXPECT_EQ(queried[i], "AT+" + order[i] + "=?");
  EXPECT_TRUE(m_changed);
  EXPECT_STREQ(m_current.Ssid, "KitNet");
  EXPECT_EQ(m_current.AutoModeSetting.Port, 8899);

  std::strcpy(m_edited.Password, "654321");
  m_edited.Escape = 0x1B;
  std::strcpy(m_edited.Ssid, "Till 3");
  m_edited.UartSetting.StopBit = 2;
  EXPECT_EQ(set(), 0);
  EXPECT_TRUE(m_changed);
  EXPECT_EQ(newRequests(), (std::vector<std::string>{"AT+SSID=\"Till 3\"", "AT+ESPC=1B", "AT+UART=115200,0,2,0",
                                                     "AT+PASS=\"654321\""}));
  EXPECT_STREQ(m_current.Password, "654321");

  // Nothing differs any more: nothing is sent and the changed flag stays clear.
  EXPECT_EQ(set(), 0);
  EXPECT_FALSE(m_changed);
  EXPECT_TRUE(newRequests().empty());
}

TEST_F(ParameterStepsTest, ModeStepsAreSkippedAndTheirCurrentPartZeroed) {
  // A keyed module first.
  m_edited.Encry = 1;
  m_edited.KeySetting = {0, 2, "0123456789"};
  ASSERT_EQ(set(), 0);
  EXPECT_EQ(newRequests(), (std::vector<std::string>{"AT+ENCRY=1", "AT+KEY=0,2,\"0123456789\""}));

  // OPEN: ENCRY goes out, KEY does not, and the current key becomes zero.
  m_edited.Encry = 0;
  // Automatic work mode off: ATM 1 goes out, ATRM does not.
  m_edited.ModeEn = 1;
  m_edited.AutoModeSetting = AutoModeSetting{};
  // Ad-hoc with auto build, then back: WATC only while NetType is not 0.
  m_edited.NetType = 1;
  m_edited.AdhocAutoBuild = 1;
  ASSERT_EQ(set(), 0);
  EXPECT_EQ(newRequests(), (std::vector<std::string>{"AT+ENCRY=0", "AT+WPRT=1", "AT+WATC=1", "AT+ATM=1"}));
  EXPECT_EQ(m_current.KeySetting.KeyId, 0);
  EXPECT_STREQ(m_current.KeySetting.Key, "");
  EXPECT_EQ(m_current.AutoModeSetting.Port, 0);
  EXPECT_EQ(m_current.AdhocAutoBuild, 1u);

  m_edited.NetType = 0;
  ASSERT_EQ(set(), 0);
  EXPECT_EQ(newRequests(), (std::vector<std::string>{"AT+WPRT=0"}));
  EXPECT_EQ(m_current.AdhocAutoBuild, 0u);
}

TEST_F(ParameterStepsTest, AFailingStepStopsTheWalkAndKeepsWhatWasAccepted) {
  const ModuleParameters before = m_current;
  std::strcpy(m_edited.Ssid, "New");
  m_edited.RateSetting = {1, 12};  // the module refuses a rate beyond 11
  m_edited.ReConNum = 7;
  std::strcpy(m_edited.Password, "999999");
  EXPECT_EQ(set(), 4);
  EXPECT_TRUE(m_changed);  // the SSID went out
  EXPECT_EQ(newRequests(), (std::vector<std::string>{"AT+SSID=\"New\"", "AT+WBGR=1,12"}));
  EXPECT_STREQ(m_current.Ssid, "New");
  EXPECT_EQ(m_current.RateSetting.MaxRate, before.RateSetting.MaxRate);
  EXPECT_EQ(m_current.ReConNum, before.ReConNum);
  EXPECT_STREQ(m_current.Password, before.Password);

  // A second run sends only the rest.
  m_edited.RateSetting = {1, 3};
  EXPECT_EQ(set(), 0);
  EXPECT_EQ(newRequests(), (std::vector<std::string>{"AT+WBGR=1,3", "AT+WARC=7", "AT+PASS=\"999999\""}));
}

TEST_F(ParameterStepsTest, WithoutAnOpenLinkNothingRunsAndTheResultIs200) {
  m_link.close();
  std::strcpy(m_edited.Ssid, "Unsent");
  const ModuleParameters before = m_current;
  m_changed = true;
  EXPECT_EQ(set(), kResultWorkerSetupFailed);
  EXPECT_FALSE(m_changed);
  EXPECT_STREQ(m_current.Ssid, before.Ssid);
  EXPECT_EQ(RunParameterSteps(m_link, CommandForm::Query, m_current, m_edited, m_changed), kResultWorkerSetupFailed);
}

}  // namespace
}  // namespace tarnwave
