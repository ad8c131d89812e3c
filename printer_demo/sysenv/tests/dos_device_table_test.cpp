#include "printer_demo/sysenv/dos_device_table.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace j57 {
namespace {

TEST(SerialDevicePath, DefaultsTableAndOverride) {
  ::unsetenv("J57_COM1");
  ::unsetenv("J57_COM5");
  DosDeviceTable table;
  EXPECT_EQ(SerialDevicePath(1, table), "/dev/ttyS0");
  EXPECT_EQ(SerialDevicePath(4, table), "/dev/ttyS3");
  EXPECT_EQ(SerialDevicePath(5, table), "/dev/ttyS4");
  // The names defined at start: COM5 to COM8 are the first four serial devices.
  for (int k = 0; k < 4; ++k)
    ASSERT_TRUE(table.define(DosDeviceTable::kRawTargetPath, "COM" + std::to_string(5 + k),
                             "\\Device\\Serial" + std::to_string(k)));
  EXPECT_EQ(SerialDevicePath(5, table), "/dev/ttyS0");
  EXPECT_EQ(SerialDevicePath(8, table), "/dev/ttyS3");
  EXPECT_EQ(SerialDevicePath(1, table), "/dev/ttyS0");
  ::setenv("J57_COM1", "/dev/ttyUSB0", 1);
  EXPECT_EQ(SerialDevicePath(1, table), "/dev/ttyUSB0");
  ::setenv("J57_COM5", "/dev/pts/9", 1);
  EXPECT_EQ(SerialDevicePath(5, table), "/dev/pts/9");
  ::unsetenv("J57_COM1");
  ::unsetenv("J57_COM5");
  EXPECT_EQ(SerialDevicePath(0, table), std::nullopt);
  EXPECT_EQ(SerialDevicePath(17, table), std::nullopt);
  EXPECT_FALSE(table.define(DosDeviceTable::kRawTargetPath, "", "\\Device\\Serial0"));
}

}  // namespace
}  // namespace j57
