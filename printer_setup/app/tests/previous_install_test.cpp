#include <gtest/gtest.h>

#include "printer_setup/app/setup_app.h"
#include "printer_setup/app/tests/recording_sink.h"
#include "printer_setup/winenv/tests/temp_machine.h"

namespace kit::setup {
namespace {

const std::string kDriverDir = winenv::Spooler::kDriverDirectory;
const char* const kModelFiles[] = {"J57.GPD", "J57.INI", "J57RES.dll", "J57D.dll", "J57F.dll"};

class RemovalTest {
public:
    explicit RemovalTest(std::vector<winenv::PrinterRecord> printers = {})
        : machine(winenv::MachineSettings{}, printers), env(machine.folder(), "/nonexistent"), app(env, values, sink) {}

    void leaveEarlierInstallation() {
        ASSERT_EQ(env.files.createDirectory("C:\\TEMP"), winenv::WinStatus::Ok);
        for (const char* name : kModelFiles) {
            for (const std::string dir : {kDriverDir, kDriverDir + "\\3", std::string("C:\\TEMP")}) {
                ASSERT_EQ(env.files.writeFile(dir + "\\" + name, "old"), winenv::WinStatus::Ok);
            }
        }
        ASSERT_EQ(env.files.writeFile(kDriverDir + "\\UNIDRV.DLL", "generic"), winenv::WinStatus::Ok);
        ASSERT_EQ(env.files.writeFile(kDriverDir + "\\3\\UNIDRV.DLL", "generic"), winenv::WinStatus::Ok);
    }
    int modelFilesLeft() {
        int left = 0;
        for (const char* name : kModelFiles) {
            for (const std::string dir : {kDriverDir, kDriverDir + "\\3", std::string("C:\\TEMP")}) {
                left += env.files.isFile(dir + "\\" + name) ? 1 : 0;
            }
        }
        return left;
    }

    winenv::testing::TempMachine machine;
    winenv::WinEnv env;
    InstallerValues values;
    testing::RecordingSink sink;
    SetupApp app;
};

TEST(RemovePreviousInstall, DeletesModelFilesOnlyWithExactlyOnePrinterOfTheModel) {
    struct Case {
        std::vector<winenv::PrinterRecord> printers;
        int filesLeft;
    };
    const Case cases[] = {
        {{}, 15},
        {{{"Office", "LPT2:", "Generic"}}, 15},
        {{{"Office", "LPT2:", "Generic"}, {"J57", "LPT1:", "J57"}}, 0},
        {{{"J57", "LPT1:", "J57"}, {"J57 (copy 1)", "LPT1:", "J57"}}, 15},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.printers.size());
        RemovalTest t(c.printers);
        t.leaveEarlierInstallation();
        t.app.RemovePreviousInstall();
        EXPECT_EQ(t.modelFilesLeft(), c.filesLeft);
        EXPECT_TRUE(t.env.files.isFile(kDriverDir + "\\UNIDRV.DLL"));
        EXPECT_TRUE(t.env.files.isFile(kDriverDir + "\\3\\UNIDRV.DLL"));
        // The entry is written and the INF scan runs whatever the count.
        EXPECT_TRUE(t.env.registry.keyExists(SetupApp::UninstallKey("J57")));
        EXPECT_TRUE(t.sink.messages.empty());
    }
}

TEST(RemovePreviousInstall, WritesTheUninstallEntry) {
    RemovalTest t;
    t.app.RemovePreviousInstall();
    const std::string key = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\J57 printer";
    EXPECT_EQ(SetupApp::UninstallKey("J57"), key);
    const std::string uninstall = kDriverDir + "\\uninstallJ57.exe";
    EXPECT_EQ(t.env.registry.stringValue(key, "DisplayName"), "J57 printer driver uninstall");
    EXPECT_EQ(t.env.registry.stringValue(key, "UninstallString"), uninstall);
    EXPECT_EQ(t.env.registry.stringValue(key, "DisplayIcon"), uninstall + ",-0");
    EXPECT_EQ(t.env.registry.stringValue(key, "Publisher"), "J57 printer");
    // Stored as string values with their terminator.
    auto value = t.env.registry.value(key, "Publisher");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->type, winenv::Registry::kString);
    EXPECT_EQ(value->data, std::string("J57 printer\0", 12));
}

TEST(RemovePreviousInstall, NoUninstallEntryWhenTheDriverDirectoryIsUnknown) {
    RemovalTest t;
    winenv::MachineSettings settings = winenv::MachineSettings::Load(t.env.root);
    settings.spoolerFault = winenv::SpoolerFault::Stopped;
    ASSERT_TRUE(settings.save(t.env.root));
    t.app.RemovePreviousInstall();
    EXPECT_FALSE(t.env.registry.keyExists(SetupApp::UninstallKey("J57")));
    ASSERT_EQ(t.app.problems().size(), 1u);
    EXPECT_NE(t.app.problems()[0].find("no uninstall entry"), std::string::npos);
}

TEST(RemoveOemInfFiles, DeletesPrinterInfsThatNameTheModel) {
    RemovalTest t;
    struct Inf {
        int number;
        const char* text;
        bool deleted;
    };
    const Inf infs[] = {
        {0, "[Version]\r\nClass=Printer\r\n[Manufacturer]\r\n\"J57\"=Driver_J57\r\n", true},
        {1, "Class=Printer\r\nsee J57 here\r\n[Manufacturer]\r\nx.GPD\r\n", false},
        {2, "[Manufacturer]\r\n\"J57\"=Driver_J57\r\nx.GPD\r\n", false},
        {3, "Class=Printer\r\nDataFile=J57.GPD\r\n", true},  // the marking line itself names the model
        {7, "Class=Printer\r\n[Manufacturer]\r\n\"j57\"=lower case\r\n", false},
        {99, "Class=Printer\n[Manufacturer]\nJ57\n", true},
        {100, "Class=Printer\r\n[Manufacturer]\r\nJ57\r\n", false},  // beyond the scanned numbers
    };
    for (const auto& inf : infs) {
        const std::string base = "C:\\WINDOWS\\inf\\oem" + std::to_string(inf.number);
        ASSERT_EQ(t.env.files.writeFile(base + ".inf", inf.text), winenv::WinStatus::Ok);
        ASSERT_EQ(t.env.files.writeFile(base + ".pnf", "compiled"), winenv::WinStatus::Ok);
    }
    ASSERT_EQ(t.env.files.writeFile("C:\\WINDOWS\\inf\\oem5.pnf", "orphan"), winenv::WinStatus::Ok);
    t.app.RemoveOemInfFiles();
    for (const auto& inf : infs) {
        const std::string base = "C:\\WINDOWS\\inf\\oem" + std::to_string(inf.number);
        EXPECT_EQ(t.env.files.isFile(base + ".inf"), !inf.deleted) << inf.number;
        EXPECT_EQ(t.env.files.isFile(base + ".pnf"), !inf.deleted) << inf.number;
    }
    EXPECT_TRUE(t.env.files.isFile("C:\\WINDOWS\\inf\\oem5.pnf"));
}

TEST(RemovePreviousInstall, PaperFormGoesUnlessTheSecondListingFails) {
    {
        RemovalTest t;
        ASSERT_EQ(t.env.spooler.addForm(SetupApp::kPaperForm), winenv::WinStatus::Ok);
        t.app.RemovePreviousInstall();
        EXPECT_EQ(t.env.spooler.forms(), (std::vector<std::string>{"Letter", "Legal", "A4", "A5"}));
    }
    {
        RemovalTest t({{"Office", "LPT2:", "Generic"}});
        ASSERT_EQ(t.env.spooler.addForm(SetupApp::kPaperForm), winenv::WinStatus::Ok);
        winenv::MachineSettings settings = winenv::MachineSettings::Load(t.env.root);
        settings.spoolerFault = winenv::SpoolerFault::EnumCallFails;
        ASSERT_TRUE(settings.save(t.env.root));
        t.app.RemovePreviousInstall();
        ASSERT_EQ(t.sink.messages.size(), 1u);
        EXPECT_EQ(t.sink.messages[0].title, "ERROR");
        EXPECT_EQ(t.sink.messages[0].text, winenv::SystemErrorText(winenv::WinStatus::SpoolerUnavailable));
        EXPECT_EQ(t.sink.messages[0].icon, MessageIcon::Information);
        EXPECT_EQ(t.env.spooler.forms().back(), SetupApp::kPaperForm);
        EXPECT_TRUE(t.env.registry.keyExists(SetupApp::UninstallKey("J57")));
    }
}

}  // namespace
}  // namespace kit::setup
