// The firmware page in a small main window, updating a virtual module over a real
// pseudo-terminal. The module checks every block itself (zlib's CRC-32).
#include "config_tool/app/c_fw_page.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "config_tool/app/resource.h"
#include "config_tool/app/tests/pages_test_window.h"
#include "platform/ui/headless/headless_host.h"

namespace tarnwave {
namespace {

namespace fs = std::filesystem;
using kit::ui::HeadlessHost;
using testing::PagesTestWindow;

// An image: header with magic and the payload length (plus `lengthError`), then the payload.
std::string Image(const std::string& payload, int lengthError = 0) {
  std::string image = "\x64\x36\x55\x77" "abcd";
  const auto length = static_cast<std::uint32_t>(payload.size() + lengthError);
  for (int shift = 24; shift >= 0; shift -= 8) image += static_cast<char>((length >> shift) & 0xFF);
  return image + "efgh" + payload;
}

// A payload that starts with the version text the module takes over on install.
std::string Payload(std::size_t size, const std::string& version = "H1.2.0,F4.0.0@ 2026-12-24") {
  std::string payload = version + '\0';
  for (std::size_t i = payload.size(); i < size; ++i) payload += static_cast<char>(i * 13 + 5);
  payload.resize(size);
  return payload;
}

class CFwPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_dir = fs::temp_directory_path() / ("fw-page-" + std::to_string(::getpid()) + "-" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(m_dir);
    m_window.startModule();
    m_window.open(m_page, 2);
    if (std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()).find("Dongle") == std::string::npos)
      showPage();
  }
  void TearDown() override { fs::remove_all(m_dir); }

  std::string write(const std::string& name, const std::string& bytes) {
    const fs::path path = m_dir / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path.string();
  }
  void browse(const std::string& path) {
    m_host.onFileChooser([path](const kit::ui::FileChooserRequest&) { return std::optional<std::string>(path); });
    ASSERT_TRUE(m_page.userClick(IDC_FW_BROWSE));
  }
  void showPage() { ASSERT_TRUE(m_window.userSelectPage(PagesTestWindow::kArea, 2)); }
  // Presses "Start" and pumps until the update ended with its note: the end report
  // enables the button again (a note of the worker comes before it).
  void runUpdate() {
    const std::size_t before = notes().size();
    ASSERT_TRUE(m_page.userClick(IDC_FW_START));
    ASSERT_TRUE(m_window.pumpUntil(m_host, [&] {
      return notes().size() > before && !m_page.PageLocked() && m_page.isEnabled(IDC_FW_START);
    }));
    m_host.pumpPosted();
  }
  std::vector<std::string> notes() const {
    std::vector<std::string> texts;
    for (const auto& record : m_host.modalsOf(IDD_MESS)) texts.push_back(record.text());
    return texts;
  }
  std::vector<std::string> requests() { return m_window.module->requests(); }
  template <class F>
  auto engine(F f) {
    decltype(f(std::declval<kitsim::ModuleEngine&>())) value{};
    m_window.module->inspect([&](kitsim::ModuleEngine& e) { value = f(e); });
    return value;
  }

  HeadlessHost m_host;
  PagesTestWindow m_window{m_host};
  CFwPage m_page{m_host, m_window};
  fs::path m_dir;
};

TEST_F(CFwPageTest, UpdatesTheModuleBlockByBlockAndFinishes) {
  struct Case {
    std::size_t payload;
    int blocks;
    int count;
  };
  // 1024 bytes: two full blocks, the count from the whole file (1040 bytes) is 3;
  // 1000 bytes: a full and a zero-padded block, count 2.
  for (const Case& c : {Case{1024, 2, 3}, Case{1000, 2, 2}}) {
    SCOPED_TRACE(c.payload);
    m_window.startModule();
    const std::string payload = Payload(c.payload);
    browse(write("fw.img", Image(payload)));
    EXPECT_EQ(m_page.text(IDC_FW_PATH), (m_dir / "fw.img").string());
    runUpdate();

    EXPECT_EQ(notes().back(), "Update firmware is finished.");
    const std::vector<std::string> expected = {"AT+&UPDM=1", "AT+Z", "AT+QVER=?", "AT+&UPDD=528", "AT+&UPDD=528",
                                               "AT+&UPDM=0"};
    EXPECT_EQ(requests(), expected);
    EXPECT_EQ(engine([](auto& e) { return e.blocksAccepted(); }), c.blocks);
    EXPECT_EQ(engine([](auto& e) { return e.loader().blockCount(); }), c.count);
    std::string padded = payload;
    padded.resize(static_cast<std::size_t>(c.blocks) * 512, '\0');
    EXPECT_TRUE(engine([](auto& e) { return e.receivedImage(); }) == padded);
    EXPECT_EQ(engine([](auto& e) { return e.loader().mainVersion(); }), "H1.2.0,F4.0.0@ 2026-12-24");
    // The page is itself again.
    EXPECT_EQ(m_page.text(IDC_FW_START), "Start!");
    EXPECT_TRUE(m_page.isEnabled(IDC_FW_START));
    EXPECT_TRUE(m_page.isEnabled(IDC_FW_BROWSE));
    EXPECT_FALSE(m_page.isEnabled(IDC_FW_MODE_LOAD));  // no "Fw Down"
    EXPECT_EQ(m_page.position(IDC_FW_PROGRESS), 0);
    EXPECT_EQ(m_window.locks.back(), false);
    EXPECT_EQ(m_window.closeCommand.back(), true);
  }
  EXPECT_EQ(m_window.locks, (std::vector<bool>{true, false, true, false}));
}

TEST_F(CFwPageTest, WhileRunningThePageKeepsTheFocusCountsBlocksAndStops) {
  browse(write("big.img", Image(Payload(512 * 40))));
  ASSERT_TRUE(m_page.userClick(IDC_FW_START));
  EXPECT_FALSE(m_page.isEnabled(IDC_FW_START));  // until the worker has started
  ASSERT_TRUE(m_window.pumpUntil(m_host, [&] { return m_page.position(IDC_FW_PROGRESS) >= 3; }));
  EXPECT_EQ(m_page.text(IDC_FW_START), "Stop!");
  EXPECT_FALSE(m_page.isEnabled(IDC_FW_BROWSE));
  EXPECT_FALSE(m_page.isEnabled(IDC_FW_MODE_MAIN));
  EXPECT_EQ(m_window.locks, std::vector<bool>{true});
  EXPECT_EQ(m_window.closeCommand, std::vector<bool>{false});
  // The user cannot leave the page.
  EXPECT_FALSE(m_window.userSelectPage(PagesTestWindow::kArea, 0));
  m_host.pumpPosted();
  EXPECT_EQ(m_window.activePage(PagesTestWindow::kArea), 2);

  ASSERT_TRUE(m_page.userClick(IDC_FW_START));  // "Stop!"
  EXPECT_FALSE(m_page.isEnabled(IDC_FW_START));
  ASSERT_TRUE(m_window.pumpUntil(m_host, [&] { return !m_page.PageLocked(); }));
  m_host.pumpPosted();
  EXPECT_EQ(notes(), std::vector<std::string>{"Update firmware is stopped."});
  EXPECT_EQ(m_page.text(IDC_FW_START), "Start!");
  EXPECT_EQ(m_page.position(IDC_FW_PROGRESS), 0);
  const int accepted = engine([](auto& e) { return e.blocksAccepted(); });
  EXPECT_GE(accepted, 3);
  EXPECT_LT(accepted, 40);
  EXPECT_NE(requests().back(), "AT+&UPDM=0");  // a stop leaves the update mode as it is
  EXPECT_TRUE(m_window.userSelectPage(PagesTestWindow::kArea, 0));
}

TEST_F(CFwPageTest, AWrongFileSendsNoCommandButLeavingUpdateMode) {
  struct Case {
    const char* name;
    std::string bytes;
  };
  const std::string payload = Payload(1000);
  std::string wrongMagic = Image(payload);
  wrongMagic[0] = 'X';
  const Case cases[] = {
      {"length one too large", Image(payload, 1)},
      {"wrong magic", wrongMagic},
      {"empty", ""},
      {"header only", Image("")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    m_window.startModule();
    m_host.clearRecords();
    browse(write("wrong.img", c.bytes));
    runUpdate();
    EXPECT_EQ(notes(), (std::vector<std::string>{"Please choose the right file to update！",
                                                 "Update firmware error, the error position is 0,"}));
    EXPECT_EQ(requests(), std::vector<std::string>{"AT+&UPDM=0"});
    EXPECT_TRUE(m_page.isEnabled(IDC_FW_START));
  }
}

TEST_F(CFwPageTest, AHundredMegabyteImageIsNoFirmware) {
  // Its blocks would not fit the 16-bit number: refused before any command.
  const std::string path = write("huge.img", Image(""));
  const std::uint64_t size = 100ull * 1024 * 1024;
  fs::resize_file(path, size);
  {
    std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
    const std::string header = Image(std::string(), 0);
    std::string fixed = header.substr(0, 8);
    const auto length = static_cast<std::uint32_t>(size - 16);
    for (int shift = 24; shift >= 0; shift -= 8) fixed += static_cast<char>((length >> shift) & 0xFF);
    file.write(fixed.data(), static_cast<std::streamsize>(fixed.size()));
  }
  browse(path);
  runUpdate();
  EXPECT_EQ(notes().front(), "Please choose the right file to update！");
  EXPECT_EQ(requests(), std::vector<std::string>{"AT+&UPDM=0"});
}

TEST_F(CFwPageTest, ATypedPathIsCheckedAgainstItsOwnSize) {
  // Browse picks one file; the user then types another path: that file is the one sent.
  browse(write("small.img", Image(Payload(100))));
  const std::string typed = write("typed.img", Image(Payload(1500)));
  ASSERT_TRUE(m_page.userType(IDC_FW_PATH, typed));
  runUpdate();
  EXPECT_EQ(notes().back(), "Update firmware is finished.");
  EXPECT_EQ(engine([](auto& e) { return e.blocksAccepted(); }), 3);
}

TEST_F(CFwPageTest, AFileThatCannotBeOpenedIsNotedAndNothingStarts) {
  const std::string path = write("gone.img", Image(Payload(600)));
  browse(path);
  fs::remove(path);
  for (const std::string& name : {path, m_dir.string(), std::string("/dev/null")}) {
    m_host.clearRecords();
    ASSERT_TRUE(m_page.userType(IDC_FW_PATH, name));
    ASSERT_TRUE(m_page.userClick(IDC_FW_START));
    m_host.pumpPosted();
    EXPECT_EQ(notes(), std::vector<std::string>{"Can not open the file！"}) << name;
    EXPECT_TRUE(m_page.isEnabled(IDC_FW_START));
  }
  EXPECT_TRUE(requests().empty());
  EXPECT_TRUE(m_window.locks.empty());
}

TEST_F(CFwPageTest, RefusedBlocks) {
  const std::string path = write("fw.img", Image(Payload(2000)));
  browse(path);
  // Refused once: sent again and the update goes on.
  m_window.module->inspect([](kitsim::ModuleEngine& e) { e.loader().setFaults({.refuseBlock = 1, .refuseTimes = 1}); });
  runUpdate();
  EXPECT_EQ(notes().back(), "Update firmware is finished.");
  EXPECT_EQ(engine([](auto& e) { return e.blocksAccepted(); }), 4);

  // The first block refused twice: its position, the module's error text, and the
  // module leaves update mode.
  m_window.startModule();
  m_window.module->inspect([](kitsim::ModuleEngine& e) { e.loader().setFaults({.refuseBlock = 0, .refuseTimes = 2}); });
  runUpdate();
  EXPECT_EQ(notes().back(), "Update firmware error, the error position is 0,parameters is invalid!");
  EXPECT_EQ(requests().back(), "AT+&UPDM=0");

  // A later block refused twice: no "&UPDM" afterwards.
  m_window.startModule();
  m_window.module->inspect([](kitsim::ModuleEngine& e) { e.loader().setFaults({.refuseBlock = 2, .refuseTimes = 2}); });
  runUpdate();
  EXPECT_EQ(notes().back(), "Update firmware error, the error position is 2,parameters is invalid!");
  EXPECT_EQ(requests().back(), "AT+&UPDD=528");
}

TEST_F(CFwPageTest, AModuleWithoutItsLoadProgrammeOrThatFallsSilent) {
  browse(write("fw.img", Image(Payload(3000))));
  m_window.module->inspect([](kitsim::ModuleEngine& e) { e.loader().setFaults({.noLoadProgramme = true}); });
  runUpdate();
  const std::vector<std::string> all = notes();
  ASSERT_EQ(all.size(), 2u);
  // The main programme came back with its echo on, so the last query's reply was no reply.
  EXPECT_EQ(all[0], "Update mode is not right,command returns error!");
  EXPECT_EQ(all[1], "Update firmware error, the error position is 0,");
  const auto sent = requests();
  EXPECT_EQ(std::count(sent.begin(), sent.end(), "AT+QVER=?"), 3);
  EXPECT_EQ(sent.back(), "AT+&UPDM=0");

  // Silent after block 1: block 2 gets no answer, twice.
  m_window.startModule();
  m_window.module->inspect([](kitsim::ModuleEngine& e) { e.loader().setFaults({.silentAfterBlock = 1}); });
  runUpdate();
  EXPECT_EQ(notes().back(), "Update firmware error, the error position is 2,no response!");
  EXPECT_EQ(m_window.locks.back(), false);
}

TEST_F(CFwPageTest, APortThatHangsUpMidUpdateEndsWithAFailure) {
  browse(write("fw.img", Image(Payload(512 * 30))));
  ASSERT_TRUE(m_page.userClick(IDC_FW_START));
  ASSERT_TRUE(m_window.pumpUntil(m_host, [&] { return m_page.position(IDC_FW_PROGRESS) >= 2; }));
  m_window.module->stop();  // the other end of the line is gone
  ASSERT_TRUE(m_window.pumpUntil(m_host, [&] { return !m_page.PageLocked(); }));
  m_host.pumpPosted();
  EXPECT_NE(notes().back().find("Update firmware error, the error position is "), std::string::npos);
  EXPECT_EQ(m_page.text(IDC_FW_START), "Start!");
  EXPECT_EQ(m_window.locks.back(), false);
}

TEST_F(CFwPageTest, TheLoadProgrammeOptionAndItsMode) {
  // The option is read when the page is made; a fresh page sees it.
  HeadlessHost host;
  PagesTestWindow window(host);
  window.firmwareDownload = 1;
  window.startModule();
  CFwPage page(host, window);
  window.open(page, 2);
  ASSERT_TRUE(window.userSelectPage(PagesTestWindow::kArea, 2));
  EXPECT_TRUE(page.isEnabled(IDC_FW_MODE_LOAD));
  ASSERT_TRUE(page.userClick(IDC_FW_MODE_LOAD));
  host.onFileChooser([&](const kit::ui::FileChooserRequest& request) {
    EXPECT_EQ(request.filter, "FIRMWARE(*.IMG)|*.IMG||");
    EXPECT_EQ(request.defaultExtension, "img");
    return std::optional<std::string>(write("load.img", Image(Payload(700))));
  });
  ASSERT_TRUE(page.userClick(IDC_FW_BROWSE));
  EXPECT_EQ(page.position(IDC_FW_PROGRESS), 0);
  ASSERT_TRUE(page.userClick(IDC_FW_START));
  ASSERT_TRUE(window.pumpUntil(host, [&] { return !host.modalsOf(IDD_MESS).empty() && !page.PageLocked(); }));
  host.pumpPosted();
  EXPECT_EQ(window.module->requests().front(), "AT+&UPDM=2");
  EXPECT_EQ(host.modalsOf(IDD_MESS).back().text(), "Update firmware is finished.");
  EXPECT_TRUE(page.isEnabled(IDC_FW_MODE_LOAD));
}

TEST_F(CFwPageTest, OverTheDongleThePageSendsTheUserBack) {
  m_window.serialOpen = false;  // the page has not been shown yet
  m_window.dongleOpen = true;
  m_window.reportedPage = 3;
  showPage();
  m_host.pumpPosted();
  EXPECT_EQ(m_window.activePage(PagesTestWindow::kArea), 3);
  // Both links open: the serial line serves the update.
  m_window.serialOpen = true;
  showPage();
  m_host.pumpPosted();
  EXPECT_EQ(m_window.activePage(PagesTestWindow::kArea), 2);
}

}  // namespace
}  // namespace tarnwave
