#include "printer_setup/winenv/spooler.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <vector>

#include "printer_setup/winenv/machine_settings.h"
#include "printer_setup/winenv/tests/temp_machine.h"

namespace kit::winenv {
namespace {

TEST(Spooler, EnumerationAnswersSizeFirstThenTheNamesInOrder) {
    testing::TempMachine machine;
    MachineRoot root(machine.folder());
    Spooler spooler(root);
    std::uint32_t needed = 99, returned = 99;
    EXPECT_EQ(spooler.enumPrinters({}, needed, returned), WinStatus::Ok);  // no printer at all
    EXPECT_EQ(needed, 0u);
    EXPECT_EQ(returned, 0u);

    ASSERT_EQ(spooler.addPrinter({"Office", "LPT2:", "Generic"}), WinStatus::Ok);
    ASSERT_EQ(spooler.addPrinter({"J57 (copy 1)", "LPT1:", "J57"}), WinStatus::Ok);
    EXPECT_EQ(spooler.addPrinter({"office", "LPT3:", "Generic"}), WinStatus::AlreadyExists);
    EXPECT_EQ(spooler.defaultPrinter(), "Office");  // the first printer of a machine

    ASSERT_EQ(spooler.enumPrinters({}, needed, returned), WinStatus::InsufficientBuffer);
    ASSERT_EQ(needed, std::string_view("Office").size() + 1 + std::string_view("J57 (copy 1)").size() + 1);
    std::vector<char> small(needed - 1);
    EXPECT_EQ(spooler.enumPrinters(small, needed, returned), WinStatus::InsufficientBuffer);
    std::vector<char> buffer(needed);
    ASSERT_EQ(spooler.enumPrinters(buffer, needed, returned), WinStatus::Ok);
    EXPECT_EQ(returned, 2u);
    EXPECT_EQ(std::string(buffer.data(), buffer.size()), std::string("Office\0J57 (copy 1)\0", 20));
}

TEST(Spooler, FaultsShowAsSpoolerErrors) {
    MachineSettings settings;
    settings.spoolerFault = SpoolerFault::EnumCallFails;
    testing::TempMachine machine(settings, {{"Office", "LPT2:", "Generic"}});
    MachineRoot root(machine.folder());
    Spooler spooler(root);
    std::uint32_t needed = 0, returned = 0;
    ASSERT_EQ(spooler.enumPrinters({}, needed, returned), WinStatus::InsufficientBuffer);
    std::vector<char> buffer(needed);
    EXPECT_EQ(spooler.enumPrinters(buffer, needed, returned), WinStatus::SpoolerUnavailable);

    settings.spoolerFault = SpoolerFault::Stopped;
    ASSERT_TRUE(settings.save(root));
    EXPECT_EQ(spooler.enumPrinters({}, needed, returned), WinStatus::SpoolerUnavailable);
    EXPECT_EQ(spooler.openLocalServer(), WinStatus::SpoolerUnavailable);
    char dir[260];
    EXPECT_EQ(spooler.getPrinterDriverDirectory(Spooler::kEnvironment, 1, dir, needed),
              WinStatus::SpoolerUnavailable);
}

TEST(Spooler, DriverDirectoryOnlyForTheX86EnvironmentAtLevelOne) {
    testing::TempMachine machine;
    MachineRoot root(machine.folder());
    Spooler spooler(root);
    char dir[260] = {};
    std::uint32_t needed = 0;
    ASSERT_EQ(spooler.getPrinterDriverDirectory("Windows NT x86", 1, dir, needed), WinStatus::Ok);
    EXPECT_STREQ(dir, "C:\\WINDOWS\\system32\\spool\\drivers\\w32x86");
    EXPECT_EQ(needed, std::strlen(dir) + 1);
    EXPECT_EQ(spooler.getPrinterDriverDirectory("Windows x64", 1, dir, needed), WinStatus::InvalidEnvironment);
    EXPECT_EQ(spooler.getPrinterDriverDirectory("Windows NT x86", 2, dir, needed), WinStatus::InvalidLevel);
    char tiny[8];
    EXPECT_EQ(spooler.getPrinterDriverDirectory("Windows NT x86", 1, tiny, needed), WinStatus::InsufficientBuffer);
    // init made the directory and its version folder.
    EXPECT_TRUE(std::filesystem::is_directory(
        *root.resolve(std::string(Spooler::kDriverDirectory) + "\\3")));
}

TEST(Spooler, FormsAreDeletedByName) {
    testing::TempMachine machine;
    MachineRoot root(machine.folder());
    Spooler spooler(root);
    ASSERT_EQ(spooler.addForm("papersize(80x297mm)"), WinStatus::Ok);
    EXPECT_EQ(spooler.deleteForm("papersize(80x297mm)"), WinStatus::Ok);
    EXPECT_EQ(spooler.deleteForm("papersize(80x297mm)"), WinStatus::InvalidFormName);
    EXPECT_EQ(spooler.forms(), (std::vector<std::string>{"Letter", "Legal", "A4", "A5"}));
}

}  // namespace
}  // namespace kit::winenv

namespace kit::winenv {
namespace {

TEST(Spooler, HandEditedStoreWithWrongTypesReadsAsEmptyFields) {
    testing::TempMachine machine;
    MachineRoot root(machine.folder());
    std::ofstream(root.storeFile("spooler.json"))
        << R"({"printers": [{"name": 5, "port": "LPT1:"}, "junk", {"name": "A"}], "default": 7, "forms": [1, "A4"],
              "drivers": [{"name": [], "files": [3]}]})";
    Spooler spooler(root);
    auto printers = spooler.printers();
    ASSERT_EQ(printers.size(), 2u);
    EXPECT_EQ(printers[0].name, "");
    EXPECT_EQ(printers[1].name, "A");
    EXPECT_EQ(spooler.defaultPrinter(), "");
    EXPECT_EQ(spooler.forms(), std::vector<std::string>{"A4"});
    EXPECT_EQ(spooler.drivers().size(), 1u);
    EXPECT_EQ(spooler.addPrinter({"B", "LPT2:", "G"}), WinStatus::Ok);
    EXPECT_EQ(spooler.defaultPrinter(), "B");
}

}  // namespace
}  // namespace kit::winenv
