// The search for modules and the switching between them, against virtual modules on
// pseudo-terminals and the real driver on a virtual dongle hosted in this process.

#include "config_tool/links/module_search.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <mutex>

#include "config_tool/links/dongle_link_values.h"
#include "config_tool/protocol/module_link.h"
#include "config_tool/protocol/result_codes.h"
#include "dongle_driver/host/driver_host.h"
#include "dongle_driver/host/in_process_device.h"
#include "sim/module/serial_module_server.h"
#include "sim/radio/engine_answerer.h"
#include "sim/radio/virtual_dongle.h"
#include "platform/ui/note_sink.h"

namespace tarnwave {
namespace {

using namespace std::chrono_literals;

// Sleeps as asked, records the waits and lets a test act at the n-th one.
class RecordingListener : public SearchListener {
 public:
  void pause(std::chrono::milliseconds duration) override {
    pauses.push_back(duration);
    if (atPause) atPause(static_cast<int>(pauses.size()));
    std::this_thread::sleep_for(duration);
  }
  std::vector<std::chrono::milliseconds> pauses;
  std::function<void(int)> atPause;
};

class RecordingNotes : public kit::ui::NoteSink {
 public:
  void showNote(std::string text) override {
    std::lock_guard lock(m_mutex);
    m_notes.push_back(std::move(text));
  }
  std::vector<std::string> taken() {
    std::lock_guard lock(m_mutex);
    return m_notes;
  }

 private:
  std::mutex m_mutex;
  std::vector<std::string> m_notes;
};

kirva::RadioAddress RadioAddressOf(int channel, int index) {
  return {0x00, 0x1E, 0xC0, static_cast<std::uint8_t>(channel), 0x00, static_cast<std::uint8_t>(index)};
}

std::string Hex(const std::array<std::uint8_t, 6>& address) { return ModuleSearch::FormatAddress(address); }

class ModuleSearchTest : public ::testing::Test {
 protected:
  void TearDown() override { search.shutDown(); }

  // A virtual module on a pseudo-terminal.
  kitsim::SerialModuleServer& AddModule(int index, kitsim::ModuleFaults faults = {}, bool echo = false) {
    modules.push_back(std::make_unique<kitsim::SerialModuleServer>(kitsim::VirtualModuleAddress(index), faults, echo));
    EXPECT_TRUE(modules.back()->start());
    portList += modules.back()->portPath() + ";";
    return *modules.back();
  }

  // The driver in this process with a virtual dongle and modules on the given channels.
  void PlugDongle(const std::vector<std::pair<int, int>>& plan) {
    ASSERT_EQ(host.load(), wdm::Status::Success);
    for (auto [channel, count] : plan) {
      for (int i = 1; i <= count; ++i) {
        const auto address = RadioAddressOf(channel, i);
        medium->add(std::make_shared<sim::radio::RadioModule>(
            address, static_cast<std::uint16_t>(channel), std::make_shared<sim::radio::EngineAnswerer>(address, "")));
      }
    }
    ASSERT_EQ(host.plugIn(std::make_shared<sim::radio::VirtualDongle>(sim::radio::DongleConfig{}, medium)),
              wdm::Status::Success);
    registration = std::make_unique<kirva::InProcessRegistration>(host);
    SetWirelessPassword({'1', '2', '3', '4', '5', '6'});
  }

  SearchRequest Request(int portChoice, int channelChoice) {
    SearchRequest request;
    request.portChoice = portChoice;
    request.channelChoice = channelChoice;
    request.portList = portList;
    return request;
  }

  std::vector<std::string> Ports(const std::vector<DeviceRow>& rows) {
    std::vector<std::string> ports;
    for (const auto& row : rows) ports.push_back(row.port);
    return ports;
  }

  std::vector<std::unique_ptr<kitsim::SerialModuleServer>> modules;
  std::string portList;
  kirva::DriverHost host;
  std::unique_ptr<kirva::InProcessRegistration> registration;
  std::shared_ptr<sim::radio::RadioMedium> medium = std::make_shared<sim::radio::RadioMedium>();
  ModuleLink link;
  RecordingListener listener;
  RecordingNotes notes;
  ModuleSearch search{link, listener, &notes};
};

TEST_F(ModuleSearchTest, OnlyTheSecondOfThreePortsAnswersAndTheLinkEndsOnIt) {
  kitsim::ModuleFaults silent;
  silent.silent = true;
  AddModule(0, silent);
  auto& second = AddModule(1);
  AddModule(2, silent);

  const SearchResult result = search.search(Request(1, -1));

  ASSERT_EQ(result.outcome, SearchOutcome::Found);
  EXPECT_TRUE(result.enablePages);
  EXPECT_TRUE(result.refreshConfiguration);
  EXPECT_FALSE(result.enableModifyAll);
  ASSERT_EQ(search.rows().size(), 1u);
  EXPECT_EQ(search.rows()[0], (DeviceRow{"1 ", second.portPath(), Hex(kitsim::VirtualModuleAddress(1))}));
  EXPECT_EQ(search.currentRow(), 0);
  EXPECT_TRUE(search.serialLinkOpen());
  EXPECT_FALSE(search.dongleLinkOpen());
  // The link talks to the second port: a command reaches that module.
  const auto before = second.requests().size();
  int kind = 0;
  EXPECT_EQ(link.firmwareKind(kind), kResultOk);
  EXPECT_EQ(second.requests().size(), before + 1);
}

TEST_F(ModuleSearchTest, AnEchoingModuleGetsTheEchoSwitchedOffBeforeTheAddressQuery) {
  auto& module = AddModule(0, {}, /*echo=*/true);

  ASSERT_EQ(search.search(Request(2, -1)).outcome, SearchOutcome::Found);

  const auto requests = module.requests();
  ASSERT_GE(requests.size(), 3u);
  EXPECT_EQ(requests[0], "AT+");
  EXPECT_EQ(requests[1], "AT+E");
  EXPECT_EQ(requests[2], "AT+QMAC=?");
  bool echo = true;
  module.inspect([&](kitsim::ModuleEngine& engine) { echo = engine.echo(); });
  EXPECT_FALSE(echo);
  // Write, one read, the echo switch-off: 100 ms and 2000 ms.
  EXPECT_EQ(listener.pauses, (std::vector<std::chrono::milliseconds>{100ms, 2000ms}));
}

TEST_F(ModuleSearchTest, ModulesThatFailTheProbeAreSkippedAndNothingFoundStopsTheWorker) {
  kitsim::ModuleFaults silent, garbage;
  silent.silent = true;
  garbage.garbage = true;
  AddModule(0, silent);
  AddModule(1, garbage);
  portList += "/dev/no-such-port;";

  EXPECT_EQ(search.search(Request(1, -1)).outcome, SearchOutcome::NothingFound);
  EXPECT_TRUE(search.rows().empty());
  EXPECT_FALSE(link.isOpen());
  EXPECT_FALSE(link.workerRunning());
  // The silent port: one wait after the write and one after each of five empty reads.
  EXPECT_EQ(std::count(listener.pauses.begin(), listener.pauses.end(), 100ms), 6 + 1);
}

TEST_F(ModuleSearchTest, NoKindOfSearchChosenAndAPortChoiceBeyondTheList) {
  AddModule(0);
  EXPECT_EQ(search.search(Request(0, -1)).outcome, SearchOutcome::NoChoice);
  EXPECT_EQ(search.search(Request(0, -2)).outcome, SearchOutcome::NoChoice);
  EXPECT_EQ(search.search(Request(3, -1)).outcome, SearchOutcome::NothingFound);
}

TEST_F(ModuleSearchTest, APortThatVanishesDuringTheProbeIsSkipped) {
  kitsim::ModuleFaults slow;
  slow.silent = true;
  auto& vanishing = AddModule(0, slow);
  AddModule(1);
  listener.atPause = [&](int n) {
    if (n == 2) vanishing.stop();
  };
  ASSERT_EQ(search.search(Request(1, -1)).outcome, SearchOutcome::Found);
  EXPECT_EQ(Ports(search.rows()), (std::vector<std::string>{modules[1]->portPath()}));
}

TEST_F(ModuleSearchTest, PortListIsCutAtSixteenNames) {
  std::string list;
  for (int i = 0; i < 20; ++i) list += "P" + std::to_string(i) + ";";
  const auto names = ModuleSearch::SplitPortList(list + ";;");
  ASSERT_EQ(names.size(), 16u);
  EXPECT_EQ(names.front(), "P0");
  EXPECT_EQ(names.back(), "P15");
  EXPECT_TRUE(ModuleSearch::SplitPortList("").empty());
}

TEST_F(ModuleSearchTest, RadioSearchListsChannelsInOrderAndIgnoresAChannelClaimingEightyFiveModules) {
  PlugDongle({{3, 85}, {6, 2}, {11, 1}});

  const SearchResult result = search.search(Request(0, 0));

  ASSERT_EQ(result.outcome, SearchOutcome::Found);
  EXPECT_TRUE(result.enablePages);
  EXPECT_TRUE(result.enableModifyAll);
  EXPECT_TRUE(result.refreshConfiguration);
  EXPECT_EQ(Ports(search.rows()), (std::vector<std::string>{"CHL6", "CHL6", "CHL11"}));
  EXPECT_EQ(search.rows()[0].number, "1 ");
  EXPECT_EQ(search.rows()[2].number, "3 ");
  EXPECT_EQ(search.rows()[2].deviceId, "001EC00B0001");
  EXPECT_EQ(ProcessDongleValues().targetModule, RadioAddressOf(6, 1));
  EXPECT_EQ(search.wirelessCount(), 3);
  EXPECT_TRUE(search.dongleLinkOpen());
  EXPECT_FALSE(search.serialLinkOpen());
  EXPECT_EQ(std::count(listener.pauses.begin(), listener.pauses.end(), 200ms), 14);
}

TEST_F(ModuleSearchTest, MixedSearchEndsOnTheSerialModuleAndSwitchesBetweenTheRows) {
  auto& serial = AddModule(0);
  PlugDongle({{6, 1}});

  const SearchResult result = search.search(Request(1, 6));
  ASSERT_EQ(result.outcome, SearchOutcome::Found);
  EXPECT_EQ(Ports(search.rows()), (std::vector<std::string>{serial.portPath(), "CHL6"}));
  EXPECT_EQ(search.rows()[1].number, "2 ");
  EXPECT_TRUE(search.serialLinkOpen());
  EXPECT_FALSE(link.isDongleMode());

  // The current row: nothing happens. Rows beyond the list neither.
  EXPECT_EQ(search.switchTo(0, {}), SwitchOutcome::Unchanged);
  EXPECT_EQ(search.switchTo(2, {}), SwitchOutcome::Unchanged);

  ASSERT_EQ(search.switchTo(1, {}), SwitchOutcome::Switched);
  EXPECT_EQ(search.currentRow(), 1);
  EXPECT_TRUE(link.isDongleMode());
  EXPECT_TRUE(search.dongleLinkOpen());
  EXPECT_EQ(ProcessDongleValues().targetModule, RadioAddressOf(6, 1));
  std::string version;
  EXPECT_EQ(link.firmwareVersion(version), kResultOk);

  ASSERT_EQ(search.switchTo(0, {}), SwitchOutcome::Switched);
  EXPECT_EQ(search.currentRow(), 0);
  EXPECT_FALSE(link.isDongleMode());

  // "Modify All" visits both without changing the current row.
  EXPECT_EQ(search.switchToRow(1, {}), kResultOk);
  EXPECT_TRUE(link.isDongleMode());
  EXPECT_EQ(search.switchToRow(0, {}), kResultOk);
  EXPECT_EQ(search.currentRow(), 0);
  EXPECT_EQ(search.switchToRow(5, {}), kResultUnexpectedReply);
}

TEST_F(ModuleSearchTest, SwitchingToAPortThatWentAwayAsksForANewSearch) {
  AddModule(0);
  auto& second = AddModule(1);
  ASSERT_EQ(search.search(Request(1, -1)).outcome, SearchOutcome::Found);
  ASSERT_EQ(search.rows().size(), 2u);
  second.stop();
  EXPECT_EQ(search.switchTo(1, {}), SwitchOutcome::FailedSearchAgain);
  EXPECT_EQ(search.switchToRow(1, {}), kResultUnexpectedReply);
  EXPECT_EQ(search.currentRow(), 0);
}

TEST_F(ModuleSearchTest, DonglePulledDuringTheRadioSearchKeepsTheSerialModule) {
  AddModule(0);
  PlugDongle({{6, 1}});
  // The third 200 ms window is channel 3's: pull the dongle then.
  int windows = 0;
  listener.atPause = [&](int n) {
    if (listener.pauses[static_cast<std::size_t>(n) - 1] == 200ms && ++windows == 3) host.pullOut();
  };

  const SearchResult result = search.search(Request(1, 0));

  ASSERT_EQ(result.outcome, SearchOutcome::Found);
  EXPECT_EQ(search.rows().size(), 1u);
  EXPECT_EQ(search.serialCount(), 1);
  EXPECT_TRUE(result.refreshConfiguration) << "the serial module still answers after the dongle went";
  EXPECT_LT(windows, 14);
  // A second search without the dongle still finds the serial module.
  ASSERT_EQ(search.search(Request(1, 0)).outcome, SearchOutcome::Found);
  int kind = 0;
  EXPECT_EQ(link.firmwareKind(kind), kResultOk);
}

}  // namespace
}  // namespace tarnwave
