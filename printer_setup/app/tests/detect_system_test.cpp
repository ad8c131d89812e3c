#include "printer_setup/app/detect_system.h"

#include <gtest/gtest.h>

#include "printer_setup/winenv/tests/temp_machine.h"

namespace kit::setup {
namespace {

using winenv::WindowsPlatform;

TEST(DetectSystem, EveryVersionRow) {
    struct Row {
        WindowsPlatform platform;
        unsigned major, minor;
        bool record;
        int code;
    };
    const Row rows[] = {
        {WindowsPlatform::Win32s, 3, 10, true, 0},     {WindowsPlatform::Windows9x, 4, 0, true, 1},
        {WindowsPlatform::Windows9x, 4, 10, true, 2},  {WindowsPlatform::Windows9x, 4, 90, true, 3},
        {WindowsPlatform::Windows9x, 4, 10, false, 1}, {WindowsPlatform::WindowsNt, 3, 51, true, 4},
        {WindowsPlatform::WindowsNt, 4, 0, true, 5},   {WindowsPlatform::WindowsNt, 5, 0, true, 6},
        {WindowsPlatform::WindowsNt, 5, 1, true, 7},   {WindowsPlatform::WindowsNt, 5, 2, true, 8},
        {WindowsPlatform::WindowsNt, 6, 0, true, 9},   {WindowsPlatform::WindowsNt, 6, 1, true, 10},
        {WindowsPlatform::WindowsNt, 6, 2, true, 4},   {WindowsPlatform::WindowsNt, 10, 0, true, 4},
        {WindowsPlatform::WindowsNt, 5, 1, false, 4},
    };
    winenv::testing::TempMachine machine;
    winenv::MachineRoot root(machine.folder());
    for (const Row& row : rows) {
        winenv::MachineSettings settings;
        settings.platform = row.platform;
        settings.major = row.major;
        settings.minor = row.minor;
        settings.versionRecordAvailable = row.record;
        ASSERT_TRUE(settings.save(root));
        EXPECT_EQ(DetectSystem(winenv::SystemInfo(root)), row.code)
            << winenv::ToString(row.platform) << ' ' << row.major << '.' << row.minor << (row.record ? "" : " no record");
    }
}

}  // namespace
}  // namespace kit::setup
