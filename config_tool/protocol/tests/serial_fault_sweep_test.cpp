// Faults on the serial line at chosen byte positions of a request and of its reply:
// a byte dropped, sent twice or corrupted, or the line hung up there. Whatever happens,
// the operation ends with a result code (no hang: every wait has its time-out), and the
// link works again after reopening the port.
//
// Positions are sampled, not swept one by one: a faulted reply costs the command's full
// time-out, so every position of every operation would take far too long. Each
// operation is measured once without a fault; the sample then takes the first and last
// byte of each direction and evenly spread bytes in between (three a direction
// here), with every kind of fault at each.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <functional>
#include <set>
#include <thread>

#include "config_tool/protocol/command_table.h"
#include "config_tool/protocol/module_link.h"
#include "config_tool/protocol/parameter_codec.h"
#include "platform/test_support/serial_fault_relay.h"
#include "sim/module/serial_module_server.h"

namespace tarnwave {
namespace {

using namespace std::chrono_literals;
using kit::test::LineDirection;
using kit::test::LineFault;

struct Operation {
  const char* name;
  std::function<int(ModuleLink&)> run;
  int samples;  // positions per direction
  // The scan's collection shows whatever arrived and reports 0 even when nothing came,
  // so for it a hang-up shows as missing networks, not as a result code.
  bool resultAfterHangUp = true;
};

// Result codes an operation may end with: success, the module's error codes, and the
// link's own failures.
bool IsResultCode(int code) {
  static const std::set<int> codes = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 100, 200, 201, 203, 204, 241, 255};
  return codes.count(code) == 1;
}

std::vector<std::size_t> SamplePositions(std::size_t length, int samples) {
  std::set<std::size_t> chosen;
  if (length == 0) return {};
  chosen.insert(0);
  chosen.insert(length - 1);
  for (int i = 1; i < samples; ++i) chosen.insert(length * static_cast<std::size_t>(i) / static_cast<std::size_t>(samples));
  return {chosen.begin(), chosen.end()};
}

class SerialFaultSweep : public ::testing::TestWithParam<Operation> {
 protected:
  void SetUp() override {
    m_module = std::make_unique<kitsim::SerialModuleServer>(kitsim::VirtualModuleAddress(3), kitsim::ModuleFaults{}, false);
    ASSERT_TRUE(m_module->start());
    m_relay = std::make_unique<kit::test::SerialFaultRelay>(m_module->portPath());
    ASSERT_TRUE(m_relay->start());
    open();
  }

  void open() {
    m_link.close();
    ASSERT_EQ(m_link.openSerial(m_relay->portPath(), {}), 0);
    ASSERT_EQ(m_link.startWorker(), 0);
  }

  // Reopens the port (on a fresh line after a hang-up) and checks that the link works:
  // the first command may still meet the rest of a request the module was given before
  // the fault, so one failed command is allowed before the one that must succeed.
  void reopenAndCheck(bool hungUp) {
    if (hungUp) {
      m_link.close();
      ASSERT_TRUE(m_relay->replug());
    }
    open();
    if (m_link.attention() == 0) return;
    EXPECT_EQ(m_link.attention(), 0) << "the link did not come back";
  }

  std::unique_ptr<kitsim::SerialModuleServer> m_module;
  std::unique_ptr<kit::test::SerialFaultRelay> m_relay;
  ModuleLink m_link;
};

TEST_P(SerialFaultSweep, EveryFaultEndsWithAResultAndTheLinkComesBack) {
  const Operation& op = GetParam();
  m_relay->arm({});
  ASSERT_EQ(op.run(m_link), 0) << "without a fault";
  const std::size_t lengths[2] = {m_relay->count(LineDirection::ToDevice), m_relay->count(LineDirection::FromDevice)};
  ASSERT_GT(lengths[0], 0u);
  ASSERT_GT(lengths[1], 0u);

  for (LineDirection direction : {LineDirection::ToDevice, LineDirection::FromDevice}) {
    for (std::size_t position : SamplePositions(lengths[static_cast<int>(direction)], op.samples)) {
      for (LineFault fault : {LineFault::Drop, LineFault::Duplicate, LineFault::Corrupt, LineFault::HangUp}) {
        SCOPED_TRACE(::testing::Message() << op.name << (direction == LineDirection::ToDevice ? " request" : " reply")
                                          << " byte " << position << " fault " << static_cast<int>(fault));
        m_relay->arm({fault, direction, position});
        const int result = op.run(m_link);
        EXPECT_TRUE(IsResultCode(result)) << result;
        EXPECT_TRUE(m_relay->fired());
        if (fault == LineFault::HangUp && op.resultAfterHangUp) {
          EXPECT_NE(result, 0) << "a hang-up passed as success";
        }
        reopenAndCheck(fault == LineFault::HangUp);
        if (HasFatalFailure()) return;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Operations, SerialFaultSweep,
    ::testing::Values(
        Operation{"parameter query",
                  [](ModuleLink& link) {
                    ModuleParameters record;
                    return link.parameter(command::CHL, CommandForm::Query, record);
                  },
                  3},
        Operation{"version query",
                  [](ModuleLink& link) {
                    std::string version;
                    return link.firmwareVersion(version);
                  },
                  3},
        Operation{"scan",
                  [](ModuleLink& link) {
                    std::vector<ScanEntry> entries;
                    const int started = link.startScan();
                    return started != 0 ? started : link.collectScan(entries);
                  },
                  2, false},
        Operation{"link state",
                  [](ModuleLink& link) {
                    LinkState state;
                    return link.linkState(state);
                  },
                  3},
        Operation{"update mode query",
                  [](ModuleLink& link) {
                    int mode = 0;
                    return link.updateMode(CommandForm::Query, mode);
                  },
                  3}),
    [](const ::testing::TestParamInfo<Operation>& info) {
      std::string name = info.param.name;
      std::replace(name.begin(), name.end(), ' ', '_');
      return name;
    });

}  // namespace
}  // namespace tarnwave
