// tarnwave-cli search as a real process against virtual modules on pseudo-terminals.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/test_support/program_path.h"
#include "platform/test_support/program_run.h"
#include "sim/module/serial_module_server.h"

namespace {

using kit::test_support::ProgramRun;

ProgramRun Cli(const std::string& arguments) {
  return kit::test_support::RunProgram(kit::test_support::ProgramPath("tarnwave-cli"), arguments);
}

std::string Hex(const std::array<std::uint8_t, 6>& a) {
  char text[13];
  std::snprintf(text, sizeof text, "%02X%02X%02X%02X%02X%02X", a[0], a[1], a[2], a[3], a[4], a[5]);
  return text;
}

class SearchCommandTest : public ::testing::Test {
 protected:
  std::string Add(int index, kitsim::ModuleFaults faults = {}, bool echo = false) {
    modules.push_back(std::make_unique<kitsim::SerialModuleServer>(kitsim::VirtualModuleAddress(index), faults, echo));
    EXPECT_TRUE(modules.back()->start());
    return modules.back()->portPath();
  }
  std::vector<std::unique_ptr<kitsim::SerialModuleServer>> modules;
};

TEST_F(SearchCommandTest, PrintsTheRowsOfTheModulesThatAnswer) {
  kitsim::ModuleFaults silent;
  silent.silent = true;
  const std::string a = Add(0, silent), b = Add(1, {}, /*echo=*/true), c = Add(2);
  ProgramRun run = Cli("search --ports " + a + " " + b + " " + c);
  ASSERT_EQ(run.exitCode, 0) << run.output;
  EXPECT_EQ(run.output, "No.\tPort\tDevice ID\n1 \t" + b + "\t" + Hex(kitsim::VirtualModuleAddress(1)) + "\n2 \t" + c +
                            "\t" + Hex(kitsim::VirtualModuleAddress(2)) + "\n");

  run = Cli("search --json --ports " + c);
  ASSERT_EQ(run.exitCode, 0) << run.output;
  EXPECT_EQ(run.output, "[{\"Device ID\":\"" + Hex(kitsim::VirtualModuleAddress(2)) + "\",\"No.\":\"1 \",\"Port\":\"" +
                            c + "\"}]\n");
}

TEST_F(SearchCommandTest, NothingFoundAndBadChoicesEndWithTheirCodes) {
  kitsim::ModuleFaults garbage;
  garbage.garbage = true;
  const std::string port = Add(0, garbage);
  ProgramRun run = Cli("search --ports " + port + " /dev/no-such-port");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.output, "Can not find the device！The possible reasons are as follows :\r\n1.Com is invalid;The device is not connected.  \n");
  run = Cli("search --ports close --channel close");
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(run.output, "Plesase select the device type, com setting or wireless setting！\n");
  for (const char* bad : {"--channel 15", "--channel 0", "--channel x", "--ports 'a;b'"}) {
    EXPECT_EQ(Cli(std::string("search ") + bad).exitCode, 2) << bad;
  }
}

}  // namespace
