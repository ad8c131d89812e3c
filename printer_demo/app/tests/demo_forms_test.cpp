// The three forms through the headless host: enable rules, lists, navigation, and
// what each button sends on real files and pseudo-terminals.
#include "printer_demo/app/demo_forms.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/serial/pseudo_terminal.h"
#include "platform/test_support/file_contents.h"
#include "platform/test_support/terminal_drain.h"
#include "platform/ui/headless/headless_host.h"
#include "printer_demo/app/form1.h"
#include "printer_demo/app/form2.h"
#include "printer_demo/app/form3.h"
#include "printer_demo/app/resource.h"
#include "printer_demo/core/barcode_test.h"
#include "printer_demo/core/sample_receipts.h"
#include "printer_demo/core/tests/piece_stream.h"
#include "printer_demo/sysenv/platform_serial_line.h"

namespace j57 {
namespace {

namespace fs = std::filesystem;
using namespace res;
using kit::test_support::ReadFileBytes;

const std::string kCut("\x1D\x56\x42\x00", 4);

class DemoFormsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/j57-forms.XXXXXX";
    m_dir = mkdtemp(pattern);
    for (int n = 1; n <= 3; ++n)
      ::setenv(("J57_LPT" + std::to_string(n)).c_str(), (m_dir / ("lpt" + std::to_string(n))).c_str(), 1);
    m_environment.devices = &m_devices;
    m_environment.serialOpener = PlatformSerialLineOpener();
    m_environment.clock = &m_clock;
    m_environment.programFolder = m_dir.string();
    m_forms = std::make_unique<DemoForms>(m_host, m_environment);
    ASSERT_TRUE(m_forms->start());
  }
  void TearDown() override {
    m_forms.reset();
    for (const char* name : {"J57_LPT1", "J57_LPT2", "J57_LPT3", "J57_COM1"}) ::unsetenv(name);
    fs::remove_all(m_dir);
  }

  Form1& form1() { return m_forms->form1(); }
  Form2& form2() { return m_forms->form2(); }
  Form3& form3() { return m_forms->form3(); }

  void enterParallel(const std::string& port = "LPT1") {
    ASSERT_TRUE(form1().userClick(FORM1_OPTION2));
    ASSERT_TRUE(form1().userType(FORM1_COMBO7, port));
    ASSERT_TRUE(form1().userClick(FORM1_COMMAND1));
  }

  fs::path m_dir;
  kit::ui::HeadlessHost m_host;
  DosDeviceTable m_devices;
  FixedWallClock m_clock{LocalTime{2026, 3, 7, 9, 5, 4}};
  DemoEnvironment m_environment;
  std::unique_ptr<DemoForms> m_forms;
};

TEST_F(DemoFormsTest, Form1LoadsWithItsListsTextsAndEnableRules) {
  EXPECT_EQ(form1().caption(), "Form1");
  EXPECT_TRUE(form1().isWindowShown());
  EXPECT_EQ(form1().text(FORM1_LABEL1), "   J57 Thermal Printer ");
  EXPECT_TRUE(form1().isChecked(FORM1_OPTION1));
  EXPECT_FALSE(form1().isChecked(FORM1_OPTION2));
  const struct {
    int id;
    const char* text;
    std::vector<std::string> items;
  } combos[] = {{FORM1_COMBO1, "COM1", {"COM1", "COM2", "COM3", "COM4"}},
                {FORM1_COMBO2, "8", {}},
                {FORM1_COMBO3, "None", {}},
                {FORM1_COMBO4, "9600", {"9600", "19200", "38400", "115200"}},
                {FORM1_COMBO5, "1", {}},
                {FORM1_COMBO6, "None", {"Cts/Rts", "Dsr/Dtr"}},
                {FORM1_COMBO7, "LPT1", {"LPT1", "LPT2", "LPT3"}}};
  for (const auto& c : combos) {
    EXPECT_EQ(form1().text(c.id), c.text);
    std::vector<std::string> items;
    for (int i = 0; i < form1().itemCount(c.id); ++i) items.push_back(form1().itemText(c.id, i));
    EXPECT_EQ(items, c.items) << c.text;
    EXPECT_EQ(form1().isEnabled(c.id), c.id != FORM1_COMBO7) << c.text;
  }
  EXPECT_EQ(form1().controlByName("Combo7")->id, FORM1_COMBO7);
  // The device names defined at load.
  EXPECT_EQ(m_devices.target("COM5"), "\\Device\\Serial0");
  EXPECT_EQ(m_devices.target("COM8"), "\\Device\\Serial3");
}

TEST_F(DemoFormsTest, OptionButtonsSwitchWhichBoxesAreEnabled) {
  ASSERT_TRUE(form1().userClick(FORM1_OPTION2));
  EXPECT_TRUE(form1().isEnabled(FORM1_COMBO7));
  for (int id = FORM1_COMBO1; id <= FORM1_COMBO6; ++id) EXPECT_FALSE(form1().isEnabled(id));
  EXPECT_FALSE(form1().isChecked(FORM1_OPTION1));
  ASSERT_TRUE(form1().userClick(FORM1_OPTION1));
  EXPECT_FALSE(form1().isEnabled(FORM1_COMBO7));
  for (int id = FORM1_COMBO1; id <= FORM1_COMBO6; ++id) EXPECT_TRUE(form1().isEnabled(id));
}

TEST_F(DemoFormsTest, ParallelEnterOpensNothingAndEachPrintUsesThePort) {
  enterParallel("LPT2");
  EXPECT_FALSE(form1().isWindowShown());
  EXPECT_TRUE(form1().isCreated());
  ASSERT_TRUE(form2().isCreated());
  EXPECT_TRUE(form2().isWindowShown());
  EXPECT_EQ(form2().caption(), "Form2");
  EXPECT_FALSE(form1().MSComm1().PortOpen());
  ASSERT_EQ(form2().itemCount(FORM2_COMBO1), 9);
  EXPECT_EQ(form2().itemText(FORM2_COMBO1, 0), "UPC-A");
  EXPECT_EQ(form2().itemText(FORM2_COMBO1, 8), "CODE128");
  EXPECT_EQ(form2().text(FORM2_COMBO1), "ITF");

  ASSERT_TRUE(form2().userClick(FORM2_COMMAND1));
  ASSERT_TRUE(form2().userClick(FORM2_COMMAND8));
  ASSERT_TRUE(form2().userType(FORM2_COMBO1, "JAN8"));
  ASSERT_TRUE(form2().userClick(FORM2_COMMAND5));
  EXPECT_EQ(ReadFileBytes(m_dir / "lpt2"), Stream(MenuReceipt(PrintRoute::Lpt2, "2026/03/07    09:05:04 ")) +
                                          Stream(BarcodeTestPieces(*FindBarcodeType("ITF"), BarcodeSize::Normal)) +
                                          Stream(BarcodeTestPieces(*FindBarcodeType("JAN8"), BarcodeSize::Higher)));
  EXPECT_FALSE(fs::exists(m_dir / "lpt1"));
  EXPECT_TRUE(m_host.boxes().empty());
}

TEST_F(DemoFormsTest, LowerCasePortNamePrintsNothingAndSaysNothing) {
  enterParallel("lpt1");
  for (int id : {FORM2_COMMAND1, FORM2_COMMAND3, FORM2_COMMAND4, FORM2_COMMAND8}) ASSERT_TRUE(form2().userClick(id));
  EXPECT_FALSE(fs::exists(m_dir / "lpt1"));
  EXPECT_TRUE(m_host.boxes().empty());
  EXPECT_EQ(m_clock.reads(), 3);  // the date stamps were formed all the same
}

TEST_F(DemoFormsTest, SerialPortIsOpenFromEnterUntilBack) {
  kit::PseudoTerminal printer;
  ASSERT_EQ(printer.open(), kit::SerialError::Ok);
  ::setenv("J57_COM1", printer.portPath().c_str(), 1);
  ASSERT_TRUE(form1().userType(FORM1_COMBO4, "19200"));
  ASSERT_TRUE(form1().userType(FORM1_COMBO3, "Even"));  // shown only: the line has no parity
  ASSERT_TRUE(form1().userClick(FORM1_COMMAND1));
  ASSERT_TRUE(form1().MSComm1().PortOpen());
  EXPECT_EQ(form1().MSComm1().Settings(), "19200,N,8,1");
  ASSERT_TRUE(form2().userClick(FORM2_COMMAND4));
  const std::string expected = Stream(ShoppingListReceipt(PrintRoute::Serial, "2026/03/07   09:05"));
  EXPECT_EQ(kit::test_support::DrainTerminal(printer, expected.size()), expected);
  EXPECT_FALSE(fs::exists(m_dir / "lpt1"));

  // Manual Test and back keep the port open.
  ASSERT_TRUE(form2().userClick(FORM2_COMMAND6));
  EXPECT_TRUE(form1().MSComm1().PortOpen());
  ASSERT_TRUE(form3().userClick(FORM3_COMMAND4));
  EXPECT_TRUE(form1().MSComm1().PortOpen());

  ASSERT_TRUE(form2().userClick(FORM2_COMMAND7));
  EXPECT_FALSE(form1().MSComm1().PortOpen());
  EXPECT_FALSE(form2().isCreated());
  EXPECT_TRUE(form1().isWindowShown());
  EXPECT_EQ(form1().text(FORM1_COMBO4), "19200");  // earlier choices kept
  // A second Enter reopens with new settings, and the type list is filled afresh.
  ASSERT_TRUE(form1().userType(FORM1_COMBO4, "38400"));
  ASSERT_TRUE(form1().userClick(FORM1_COMMAND1));
  EXPECT_EQ(form1().MSComm1().Settings(), "38400,N,8,1");
  EXPECT_EQ(form2().itemCount(FORM2_COMBO1), 9);
  EXPECT_TRUE(m_host.boxes().empty());
}

TEST_F(DemoFormsTest, EnterFailuresAreShownAndLeaveTheSettingsUsable) {
  ASSERT_TRUE(form1().userType(FORM1_COMBO4, "fast"));
  ASSERT_TRUE(form1().userClick(FORM1_COMMAND1));
  ASSERT_EQ(m_host.boxes().size(), 1u);
  EXPECT_NE(m_host.boxes()[0].request.text.find("baud rate \"fast\""), std::string::npos);
  EXPECT_EQ(m_host.boxes()[0].request.title, kFailureTitle);
  EXPECT_FALSE(form2().isCreated());
  EXPECT_TRUE(form1().isWindowShown());

  // A port name other than COM1 to COM4 gives port number 0, which cannot be opened:
  // the user is taken back to the settings instead of printing to the parallel port.
  ASSERT_TRUE(form1().userType(FORM1_COMBO4, "9600"));
  ASSERT_TRUE(form1().userType(FORM1_COMBO1, "COM7"));
  ASSERT_TRUE(form1().userClick(FORM1_COMMAND1));
  ASSERT_EQ(m_host.boxes().size(), 2u);
  EXPECT_NE(m_host.boxes()[1].request.text.find("Invalid port number 0"), std::string::npos);
  EXPECT_FALSE(form1().MSComm1().PortOpen());
  EXPECT_FALSE(form2().isCreated());
  EXPECT_TRUE(form1().isWindowShown());
}

TEST_F(DemoFormsTest, ParallelDeviceFailureIsShown) {
  ::setenv("J57_LPT3", "/nonexistent-folder/lpt3", 1);
  enterParallel("LPT3");
  ASSERT_TRUE(form2().userClick(FORM2_COMMAND3));
  ASSERT_EQ(m_host.boxes().size(), 1u);
  EXPECT_NE(m_host.boxes()[0].request.text.find("No such file or directory"), std::string::npos)
      << m_host.boxes()[0].request.text;
}

TEST_F(DemoFormsTest, ManualTextTestSendsCopiesAndReportsBadCounts) {
  enterParallel();
  ASSERT_TRUE(form2().userClick(FORM2_COMMAND6));
  ASSERT_TRUE(form3().isWindowShown());
  EXPECT_FALSE(form2().isWindowShown());
  EXPECT_TRUE(form2().isCreated());
  EXPECT_EQ(form3().caption(), "Form3");
  EXPECT_EQ(form3().text(FORM3_COMBO1), "1");
  ASSERT_EQ(form3().itemCount(FORM3_COMBO1), 6);
  EXPECT_EQ(form3().itemText(FORM3_COMBO1, 5), "10");

  ASSERT_TRUE(form3().userType(FORM3_TEXT1, "abc"));
  ASSERT_TRUE(form3().userType(FORM3_COMBO1, "3"));
  ASSERT_TRUE(form3().userClick(FORM3_COMMAND3));
  ASSERT_TRUE(form3().userType(FORM3_COMBO1, "three"));
  ASSERT_TRUE(form3().userClick(FORM3_COMMAND3));
  ASSERT_EQ(m_host.boxes().size(), 1u);
  EXPECT_NE(m_host.boxes()[0].request.text.find("repeat count"), std::string::npos);
  // Typed line breaks go out as CR LF.
  ASSERT_TRUE(form3().userType(FORM3_TEXT1, "x\ny\n"));
  ASSERT_TRUE(form3().userType(FORM3_COMBO1, "2"));
  ASSERT_TRUE(form3().userClick(FORM3_COMMAND3));
  ASSERT_TRUE(form3().userClick(FORM3_COMMAND2));
  EXPECT_EQ(form3().text(FORM3_TEXT1), "");
  ASSERT_TRUE(form3().userClick(FORM3_COMMAND3));
  EXPECT_EQ(ReadFileBytes(m_dir / "lpt1"), "abcabcabc\n" + kCut + "x\r\ny\r\nx\r\ny\r\n\n" + kCut + "\n" + kCut);

  ASSERT_TRUE(form3().userClick(FORM3_COMMAND4));
  EXPECT_FALSE(form3().isCreated());
  EXPECT_TRUE(form2().isWindowShown());
}

TEST_F(DemoFormsTest, FileOpenLoadsTheChosenFileOrSaysItFailed) {
  enterParallel();
  ASSERT_TRUE(form2().userClick(FORM2_COMMAND6));
  ASSERT_TRUE(form3().userType(FORM3_TEXT1, "kept"));
  // Cancelled.
  ASSERT_TRUE(form3().userClick(FORM3_COMMAND1));
  ASSERT_EQ(m_host.fileChoosers().size(), 1u);
  const auto& request = m_host.fileChoosers()[0];
  EXPECT_EQ(request.title, "Open File");
  EXPECT_EQ(request.filter, "*txt");
  EXPECT_TRUE(request.mustExist);
  EXPECT_EQ(request.initialDirectory, m_dir.string());
  ASSERT_EQ(m_host.boxes().size(), 1u);
  EXPECT_EQ(m_host.boxes()[0].request.text, "Open file fails");
  EXPECT_EQ(m_host.boxes()[0].request.title, "Varnex ");
  EXPECT_EQ(m_host.boxes()[0].request.icon, kit::ui::BoxIcon::Information);
  EXPECT_EQ(form3().text(FORM3_TEXT1), "kept");

  // A code page 936 file shows as Chinese text and prints as the same bytes.
  const fs::path chinese = m_dir / "zh.txt";
  std::ofstream(chinese, std::ios::binary) << "J57\xC6\xB1\xBE\xDD";
  std::string chosen = chinese.string();
  m_host.onFileChooser([&](const kit::ui::FileChooserRequest&) { return chosen; });
  ASSERT_TRUE(form3().userClick(FORM3_COMMAND1));
  EXPECT_EQ(form3().text(FORM3_TEXT1), "J57\xE7\xA5\xA8\xE6\x8D\xAE");
  ASSERT_TRUE(form3().userClick(FORM3_COMMAND3));
  EXPECT_EQ(ReadFileBytes(m_dir / "lpt1"), "J57\xC6\xB1\xBE\xDD\n" + kCut);

  // An empty file empties the box; a folder cannot be read.
  const fs::path empty = m_dir / "empty.txt";
  std::ofstream(empty, std::ios::binary).flush();
  chosen = empty.string();
  ASSERT_TRUE(form3().userClick(FORM3_COMMAND1));
  EXPECT_EQ(form3().text(FORM3_TEXT1), "");
  chosen = (m_dir / "missing.txt").string();
  ASSERT_TRUE(form3().userClick(FORM3_COMMAND1));
  ASSERT_EQ(m_host.boxes().size(), 2u);
  EXPECT_EQ(m_host.boxes()[1].request.title, kFailureTitle);
}

TEST_F(DemoFormsTest, CloseBoxesReturnAndExitEndsTheProgram) {
  enterParallel();
  ASSERT_TRUE(form2().userClick(FORM2_COMMAND6));
  ASSERT_TRUE(form3().userClose());
  EXPECT_TRUE(form2().isWindowShown());
  ASSERT_TRUE(form2().userClose());
  EXPECT_TRUE(form1().isWindowShown());
  EXPECT_FALSE(form2().isCreated());
  ASSERT_TRUE(form1().userClick(FORM1_COMMAND2));
  EXPECT_FALSE(m_forms->anyLoaded());
  m_host.runMessageLoop();  // returns at once: no form is left
}

}  // namespace
}  // namespace j57
