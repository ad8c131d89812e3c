#include "printer_setup/winenv/registry.h"

#include <gtest/gtest.h>

#include <fstream>

#include "printer_setup/winenv/tests/temp_machine.h"

namespace kit::winenv {
namespace {

TEST(Registry, KeysAndValuesPersistAndCompareWithoutCase) {
    testing::TempMachine machine;
    MachineRoot root(machine.folder());
    const char* key = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\J57 printer";
    ASSERT_EQ(Registry(root).createKey(key), WinStatus::Ok);
    ASSERT_EQ(Registry(root).createKey("software\\MICROSOFT"), WinStatus::Ok);  // existing: still Ok
    ASSERT_EQ(Registry(root).setValue(key, "DisplayName", Registry::kString,
                                      std::string("J57 printer driver uninstall\0", 29)),
              WinStatus::Ok);

    Registry again(root);  // a new instance reads what the file holds
    EXPECT_EQ(again.stringValue("Software\\microsoft\\windows\\currentversion\\uninstall\\j57 PRINTER",
                                "displayname"),
              "J57 printer driver uninstall");
    auto listing = again.list("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall");
    ASSERT_TRUE(listing);
    EXPECT_EQ(listing->subkeys, std::vector<std::string>{"J57 printer"});  // case of creation
    EXPECT_EQ(again.list("SOFTWARE")->subkeys, std::vector<std::string>{"Microsoft"});
}

TEST(Registry, ValueUnderMissingKeyIsRefused) {
    testing::TempMachine machine;
    MachineRoot root(machine.folder());
    Registry registry(root);
    EXPECT_EQ(registry.setValue("SOFTWARE\\Nobody", "x", Registry::kString, "y"), WinStatus::FileNotFound);
    EXPECT_FALSE(registry.keyExists("SOFTWARE\\Nobody"));
    EXPECT_FALSE(registry.stringValue("SOFTWARE\\Nobody", "x"));
}

TEST(Registry, DamagedStoreFailsWithoutThrowing) {
    testing::TempMachine machine;
    MachineRoot root(machine.folder());
    std::ofstream(root.storeFile("registry.json")) << R"({"HKLM": {"name": 5, "keys": []}})";
    Registry registry(root);
    EXPECT_NE(registry.createKey("SOFTWARE"), WinStatus::Ok);
    EXPECT_FALSE(registry.stringValue("SOFTWARE", "x"));
    std::ofstream(root.storeFile("registry.json")) << "not json";
    EXPECT_NE(registry.createKey("SOFTWARE"), WinStatus::Ok);
}

}  // namespace
}  // namespace kit::winenv
