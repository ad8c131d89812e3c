// The firmware and system information pages through `tarnwave --drive`, as a real
// process, against virtual modules on pseudo-terminals paced at 115200 baud and behind
// the driver host's virtual dongle. What a serial module received is read from its
// request log, and what its load programme made of the blocks (each checked with zlib's
// CRC-32) from the module itself.

#include <atomic>
#include <cstdint>
#include <string>

#include "config_tool/app/tests/e2e/drive_fixture.h"

namespace tarnwave_e2e {
namespace {

const char* kNewVersion = "H2.0.0,F4.1.0@ 2027-01-02";

// A payload that starts with the version text the module takes from it.
std::string Payload(std::size_t size) {
  std::string payload = std::string(kNewVersion) + '\0';
  while (payload.size() < size) payload.push_back(static_cast<char>(payload.size() * 7 + 3));
  payload.resize(size);
  return payload;
}

// An image file: the magic, the big-endian payload length (plus `lengthError`), then the payload.
std::string Image(const std::string& payload, int lengthError = 0) {
  const auto length = static_cast<std::uint32_t>(payload.size() + lengthError);
  std::string image = "\x64\x36\x55\x77" "wxyz";
  for (int shift = 24; shift >= 0; shift -= 8) image.push_back(static_cast<char>((length >> shift) & 0xFF));
  return image + "1234" + payload;
}

// The requests after the first `from`, up to and without the next `to` (to the end when
// there is none).
Requests Between(const Requests& requests, const std::string& from, const std::string& to) {
  auto begin = std::find(requests.begin(), requests.end(), from);
  if (begin == requests.end()) return {};
  ++begin;
  return Requests(begin, std::find(begin, requests.end(), to));
}

// The page area of the main window.
const char* kShowPageArea = "show 59648\n";
std::string PageAreaOn(int page) { return "show 59648 \"\" enabled sel=" + std::to_string(page); }

class FirmwarePageDriveTest : public ::testing::Test, protected DriveFixture {
 protected:
  void SetUp() override { MakeFolder("fwd"); }
  void TearDown() override { RemoveFolder(); }

  std::string WriteImage(const std::string& name, const std::string& bytes) {
    const fs::path path = dir / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path.string();
  }
  template <class F>
  auto Engine(kitsim::SerialModuleServer& module, F f) {
    decltype(f(std::declval<kitsim::ModuleEngine&>())) value{};
    module.inspect([&](kitsim::ModuleEngine& e) { value = f(e); });
    return value;
  }
};

TEST_F(FirmwarePageDriveTest, BrowseStartFinishAndAfterAResetTheInformationPageShowsTheNewVersion) {
  // A serial module and one on the air: the serial one is current, the wireless controls
  // are there to be locked.
  auto& module = AddModule();
  StartDriverHost("6:1");
  Settings("[ComSet]\nComEn=1\n[WireLessSet]\nChannel=6\n");
  const std::string payload = Payload(8 * 512 - 100);  // 8 blocks, the last one short
  const std::string image = WriteImage("NEW.IMG", Image(payload));
  const ProgramRun run = Drive(
      "click 1043\n"
      "page 3\nshow 1085\nshow 1086\nshow 1087\nshow 1088\n"
      "page 2\n"
      "file \"" + image + "\"\nclick 1000\nshow 1077\n"
      "click 1045\nwait 300\n"
      // During the update: the button stops, nothing else that could use the link is
      // enabled, the page cannot be left and the window cannot be closed.
      "show 1045\nshow 1000\nshow 1078\nshow 1043\nshow 1007\nshow 1004\nshow 1010\nshow 1049\n"
      "page 3\n" + kShowPageArea + "close\n"
      "wait 4000\nshow 1086\nclick 3\n"
      "show 1045\nshow 1042\nshow 1000\nshow 1078\nshow 1043\nshow 1007\nshow 1004\nshow 1010\nshow 1049\n"
      // The module runs its new firmware after a reset; the search finds it again.
      "page 1\nclick 1027\nclick 3\nclick 1043\n"
      "page 3\nshow 1085\nshow 1086\nshow 1087\nshow 1088\n");
  EXPECT_EQ(run.exitCode, 3) << "only the page change during the update is refused:\n" << run.output;
  const std::string o = run.output;
  EXPECT_TRUE(Has(o, "refused 21 \"the page refused\"")) << o;
  EXPECT_EQ(o.find("\nrefused "), o.rfind("\nrefused ")) << o;

  const std::string mac = "show 1085 \"" + DashedHex(kitsim::VirtualModuleAddress(0)) + "\" enabled";
  EXPECT_TRUE(Has(o, mac + "\nshow 1086 \"1.2.0\" enabled\nshow 1087 \"3.0.7\" enabled\nshow 1088 \"2026-12-11\" enabled"))
      << o;
  EXPECT_TRUE(Has(o, "show 1077 \"" + image + "\" enabled")) << o;
  EXPECT_TRUE(Has(o,
                  "show 1045 \"Stop!\" enabled\n"
                  "show 1000 \"Browse\" disabled\n"
                  "show 1078 \"Update the main programme firmware\" disabled checked\n"
                  "show 1043 \"Search\" disabled"))
      << o;
  for (const char* line : {"show 1007 \"Auto\" disabled sel=1", "show 1004 \"Set\" disabled",
                           "show 1010 \" 6\" disabled sel=7", "show 1049 \"Set\" disabled"})
    EXPECT_TRUE(Has(o, line)) << line << " in\n" << o;
  EXPECT_TRUE(Has(o, PageAreaOn(2))) << o;
  EXPECT_EQ(o.find("close 102"), o.rfind("close 102")) << "the close box did nothing during the update:\n" << o;
  EXPECT_TRUE(Has(o, "open 170 \"Note\"\nshow 1086 \"Update firmware is finished.\" enabled\nclose 170 1")) << o;
  // After it: everything back.
  EXPECT_TRUE(Has(o,
                  "show 1045 \"Start!\" enabled\n"
                  "show 1042 \"\" enabled pos=0\n"
                  "show 1000 \"Browse\" enabled\n"
                  "show 1078 \"Update the main programme firmware\" enabled checked\n"
                  "show 1043 \"Search\" enabled"))
      << o;
  for (const char* line : {"show 1007 \"Auto\" enabled sel=1", "show 1004 \"Set\" enabled",
                           "show 1010 \" 6\" enabled sel=7", "show 1049 \"Set\" enabled"})
    EXPECT_TRUE(Has(o, line)) << line << " in\n" << o;
  EXPECT_TRUE(Has(o, mac + "\nshow 1086 \"2.0.0\" enabled\nshow 1087 \"4.1.0\" enabled\nshow 1088 \"2027-01-02\" enabled"))
      << o;

  // The module checked every block and holds the payload byte for byte; nothing but the
  // update itself went over the line while it ran.
  EXPECT_EQ(Engine(module, [](auto& e) { return e.blocksAccepted(); }), 8);
  EXPECT_EQ(Engine(module, [&](auto& e) { return e.receivedImage().substr(0, payload.size()); }), payload);
  const Requests received = module.requests();
  Requests expected{"AT+Z", "AT+QVER=?"};
  expected.insert(expected.end(), 8, "AT+&UPDD=528");
  EXPECT_EQ(Between(received, "AT+&UPDM=1", "AT+&UPDM=0"), expected) << Joined(received);
}

TEST_F(FirmwarePageDriveTest, StopMidTransferEndsAfterTheCurrentBlock) {
  auto& module = AddModule();
  Settings("[ComSet]\nComEn=1\n[WireLessSet]\nChannel=-1\n");
  const std::string image = WriteImage("BIG.IMG", Image(Payload(40 * 512)));
  const ProgramRun run = Drive(
      "click 1043\npage 2\n"
      "text 1077 \"" + image + "\"\nclick 1045\nwait 1200\n"
      "show 1042\nclick 1045\nshow 1045\n"
      "wait 2000\nshow 1086\nclick 3\n"
      "show 1045\nshow 1042\nshow 1043\npage 0\n" + kShowPageArea);
  ASSERT_EQ(run.exitCode, 0) << run.output;
  const std::string o = run.output;
  EXPECT_EQ(o.find("show 1042 \"\" enabled pos=0\nclick"), std::string::npos) << "some blocks went before Stop!:\n" << o;
  EXPECT_TRUE(Has(o, "show 1045 \"Stop!\" disabled")) << o;
  EXPECT_TRUE(Has(o, "show 1086 \"Update firmware is stopped.\" enabled")) << o;
  EXPECT_TRUE(Has(o, "show 1045 \"Start!\" enabled\nshow 1042 \"\" enabled pos=0\nshow 1043 \"Search\" enabled")) << o;
  EXPECT_TRUE(Has(o, PageAreaOn(0))) << o;
  // Every block that went was taken whole, and the module was left in update mode.
  const int accepted = Engine(module, [](auto& e) { return e.blocksAccepted(); });
  EXPECT_GT(accepted, 0);
  EXPECT_LT(accepted, 40);
  const Requests received = module.requests();
  EXPECT_EQ(CountOf(received, "AT+&UPDD=528"), static_cast<std::size_t>(accepted)) << Joined(received);
  EXPECT_EQ(received.back(), "AT+&UPDD=528");
}

TEST_F(FirmwarePageDriveTest, FaultsEndWithTheirNotesAndTheRightUpdateModeCommand) {
  struct Case {
    const char* name;
    kitsim::UpdateFaults faults;
    int lengthError;
    int waitMs;
    std::vector<std::string> notes;
    int accepted;
    bool leavesUpdateMode;  // "&UPDM=0" comes last
  };
  const std::string position = "Update firmware error, the error position is ";
  const Case cases[] = {
      {"first block refused twice", {.refuseBlock = 0, .refuseTimes = 2}, 0, 2500,
       {position + "0,parameters is invalid!"}, 0, true},
      {"third block refused once", {.refuseBlock = 2, .refuseTimes = 1}, 0, 3000, {"Update firmware is finished."}, 5, true},
      {"third block refused twice", {.refuseBlock = 2, .refuseTimes = 2}, 0, 3000,
       {position + "2,parameters is invalid!"}, 2, false},
      // The module falls silent: each of the two tries of block 2 waits for its answer.
      {"silent after the second block", {.silentAfterBlock = 1}, 0, 7000, {position + "2,no response!"}, 2, false},
      // The reset brings the main programme back, echoing: no query shows the load programme.
      {"no load programme", {.noLoadProgramme = true}, 0, 3000,
       {"Update mode is not right,command returns error!", position + "0,"}, 0, true},
      // The header promises one byte more than the file holds: no update command at all.
      {"length one too large", {}, 1, 1500, {"Please choose the right file to update！", position + "0,"}, 0, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    modules.clear();
    fs::remove_all(dir / "serial");
    fs::create_directories(dir / "serial");
    auto& module = AddModule();
    module.inspect([&](kitsim::ModuleEngine& e) { e.loader().setFaults(c.faults); });
    Settings("[ComSet]\nComEn=1\n[WireLessSet]\nChannel=-1\n");
    // A typed path, never browsed: checked against its own size.
    const std::string image = WriteImage("FW.IMG", Image(Payload(5 * 512 - 60), c.lengthError));
    std::string script = "click 1043\npage 2\ntext 1077 \"" + image + "\"\nclick 1045\nwait " + std::to_string(c.waitMs) + "\n";
    // A note the worker shows holds it until answered; its end report follows.
    for (std::size_t i = 0; i < c.notes.size(); ++i) script += "show 1086\nclick 3\nwait 300\n";
    script += "show 1045\nshow 1043\n";
    const ProgramRun run = Drive(script);
    ASSERT_EQ(run.exitCode, 0) << run.output;
    std::string notes;
    for (const std::string& note : c.notes)
      notes += "open 170 \"Note\"\nshow 1086 \"" + note + "\" enabled\nclose 170 1\n";
    EXPECT_NE(run.output.find(notes + "show 1045 \"Start!\" enabled\nshow 1043 \"Search\" enabled\n"), std::string::npos)
        << run.output;
    EXPECT_EQ(Engine(module, [](auto& e) { return e.blocksAccepted(); }), c.accepted);
    const Requests received = module.requests();
    EXPECT_EQ(received.back() == "AT+&UPDM=0", c.leavesUpdateMode) << Joined(received);
    if (c.lengthError != 0) {
      EXPECT_EQ(Between(received, "AT+PASS=?", "none"), Requests{"AT+&UPDM=0"}) << Joined(received);
    }
  }
}

TEST_F(FirmwarePageDriveTest, AModuleThatHangsUpMidUpdateEndsWithANoteAndTheWindowComesBack) {
  auto& module = AddModule();
  Settings("[ComSet]\nComEn=1\n[WireLessSet]\nChannel=-1\n");
  const std::string image = WriteImage("FW.IMG", Image(Payload(30 * 512)));
  // Once two blocks are in, the far end of the line goes away.
  std::atomic<bool> done{false};
  std::thread unplug([&] {
    for (int i = 0; i < 3000 && !done; ++i) {
      if (Engine(module, [](auto& e) { return e.blocksAccepted(); }) >= 2) return module.stop();
      std::this_thread::sleep_for(5ms);
    }
  });
  const ProgramRun run = Drive("click 1043\npage 2\ntext 1077 \"" + image +
                               "\"\nclick 1045\nwait 5500\nshow 1086\nclick 3\nshow 1045\nshow 1043\nshow 1007\n"
                               "page 0\n" + kShowPageArea);
  done = true;
  unplug.join();
  ASSERT_EQ(run.exitCode, 0) << run.output;
  const std::string o = run.output;
  EXPECT_NE(o.find("show 1086 \"Update firmware error, the error position is "), std::string::npos) << o;
  EXPECT_TRUE(Has(o, "show 1045 \"Start!\" enabled\nshow 1043 \"Search\" enabled\nshow 1007 \"Auto\" enabled sel=1"))
      << o;
  EXPECT_TRUE(Has(o, PageAreaOn(0))) << o;
  EXPECT_TRUE(Has(o, "close 102 2")) << o;
}

TEST_F(FirmwarePageDriveTest, OverTheDongleThePageIsLeftAtOnceForThePageLastReported) {
  StartOneModule(Transport::Dongle);
  const ProgramRun run = Drive(std::string("click 1043\npage 2\n") + kShowPageArea + "page 3\npage 2\n" + kShowPageArea);
  ASSERT_EQ(run.exitCode, 0) << run.output;
  EXPECT_TRUE(Has(run.output, "open 134 \"UpdateFw\"\nopen 129 \"Configuration\"\n" + PageAreaOn(0))) << run.output;
  EXPECT_TRUE(Has(run.output, "open 134 \"UpdateFw\"\nopen 140 \"SystemInfo\"\n" + PageAreaOn(3))) << run.output;
}

class InfoPageDriveTest : public ::testing::TestWithParam<Transport>, protected DriveFixture {
 protected:
  void SetUp() override { MakeFolder("ipd"); }
  void TearDown() override { RemoveFolder(); }
};

TEST_P(InfoPageDriveTest, EachActivationReadsTheModulesIdentity) {
  StartOneModule(GetParam());
  const std::string address =
      GetParam() == Transport::Serial ? DashedHex(kitsim::VirtualModuleAddress(0)) : "00-1E-C0-06-00-01";
  const ProgramRun run = Drive(
      "show 1085\n"  // hidden before the page is shown
      "click 1043\npage 3\nshow 1085\nshow 1086\nshow 1087\nshow 1088\npage 0\npage 3\n");
  EXPECT_EQ(run.exitCode, 3) << run.output;
  EXPECT_TRUE(Has(run.output, "refused 1 \"no such control\"")) << run.output;
  EXPECT_TRUE(Has(run.output, "open 140 \"SystemInfo\"\nshow 1085 \"" + address +
                                  "\" enabled\nshow 1086 \"1.2.0\" enabled\nshow 1087 \"3.0.7\" enabled\nshow 1088 "
                                  "\"2026-12-11\" enabled"))
      << run.output;
  if (GetParam() == Transport::Serial) {
    // After the configuration page's reading, one address and one version query per activation.
    const Requests received = modules[0]->requests();
    EXPECT_EQ(Between(received, "AT+PASS=?", "none"),
              (Requests{"AT+QMAC=?", "AT+QVER=?", "AT+QMAC=?", "AT+QVER=?"}))
        << Joined(received);
  }
}

INSTANTIATE_TEST_SUITE_P(Transports, InfoPageDriveTest, ::testing::Values(Transport::Serial, Transport::Dongle),
                         [](const auto& info) { return TransportName(info.param); });

}  // namespace
}  // namespace tarnwave_e2e
