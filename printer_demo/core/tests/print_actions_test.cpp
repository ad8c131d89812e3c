#include "printer_demo/core/print_actions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "printer_demo/core/sample_receipts.h"
#include "printer_demo/core/text_file.h"
#include "printer_demo/core/tests/piece_stream.h"

#include <filesystem>
#include <fstream>
#include <stdlib.h>

namespace j57 {
namespace {

// Records every write; can be told to refuse the write with a given index.
class RecordingSink final : public ByteSink {
 public:
  explicit RecordingSink(std::string& bytes, int failAt = -1) : m_bytes(bytes), m_failAt(failAt) {}
  std::optional<std::string> write(std::span<const std::uint8_t> bytes) override {
    if (m_writes++ == m_failAt) return "device refused the write";
    m_bytes.append(bytes.begin(), bytes.end());
    return std::nullopt;
  }

 private:
  std::string& m_bytes;
  int m_failAt;
  int m_writes = 0;
};

// A connection whose parallel ports record opens, closes and the bytes per port.
class FakeConnection final : public PrinterConnection {
 public:
  bool serialIsOpen = false;
  std::string parallel = "LPT1";
  std::string serialBytes;
  std::string parallelBytes[4];
  std::vector<std::string> events;  // "open 2", "close 2"
  std::string openError;
  int failParallelWriteAt = -1;

  bool serialOpen() const override { return serialIsOpen; }
  ByteSink& serialPort() override { return m_serialSink; }
  std::string parallelName() const override { return parallel; }
  std::variant<std::unique_ptr<ByteSink>, std::string> openParallel(int number) override {
    if (!openError.empty()) return openError;
    events.push_back("open " + std::to_string(number));
    return std::unique_ptr<ByteSink>(
        new ClosingSink(parallelBytes[number], failParallelWriteAt, events, number));
  }

 private:
  class ClosingSink final : public ByteSink {
   public:
    ClosingSink(std::string& bytes, int failAt, std::vector<std::string>& events, int number)
        : m_sink(bytes, failAt), m_events(events), m_number(number) {}
    ~ClosingSink() override { m_events.push_back("close " + std::to_string(m_number)); }
    std::optional<std::string> write(std::span<const std::uint8_t> bytes) override { return m_sink.write(bytes); }

   private:
    RecordingSink m_sink;
    std::vector<std::string>& m_events;
    int m_number;
  };
  RecordingSink m_serialSink{serialBytes};
};

const LocalTime kTime{2026, 3, 7, 9, 5, 4};
const std::string kTail = "\n\x1D\x56\x42" + std::string(1, '\0');

TEST(OutputRoute, ChoiceFollowsSerialStateThenExactParallelName) {
  EXPECT_EQ(ChooseRoute(true, "nonsense"), PrintRoute::Serial);
  EXPECT_EQ(ChooseRoute(false, "LPT1"), PrintRoute::Lpt1);
  EXPECT_EQ(ChooseRoute(false, "LPT2"), PrintRoute::Lpt2);
  EXPECT_EQ(ChooseRoute(false, "LPT3"), PrintRoute::Lpt3);
  for (const char* text : {"lpt1", "LPT4", "LPT1 ", "", "COM1"})
    EXPECT_EQ(ChooseRoute(false, text), std::nullopt) << text;
}

TEST(PrintActions, ParallelPortIsOpenedAndClosedOncePerAction) {
  FakeConnection connection;
  connection.parallel = "LPT2";
  FixedWallClock clock(kTime);
  PrintActions actions(connection, clock);
  EXPECT_EQ(actions.printChecks().status, PrintOutcome::Status::Sent);
  EXPECT_EQ(actions.printShoppingList().status, PrintOutcome::Status::Sent);
  EXPECT_EQ(connection.events, (std::vector<std::string>{"open 2", "close 2", "open 2", "close 2"}));
  EXPECT_EQ(connection.parallelBytes[2], Stream(ChecksReceipt(PrintRoute::Lpt2, "2026/03/07   09:05")) +
                                             Stream(ShoppingListReceipt(PrintRoute::Lpt2, "2026/03/07   09:05")));
  EXPECT_TRUE(connection.serialBytes.empty());
}

TEST(PrintActions, OpenSerialPortWinsAndNothingIsOpened) {
  FakeConnection connection;
  connection.serialIsOpen = true;
  FixedWallClock clock(kTime);
  PrintActions actions(connection, clock);
  EXPECT_EQ(actions.printMenu().status, PrintOutcome::Status::Sent);
  EXPECT_EQ(connection.serialBytes, Stream(MenuReceipt(PrintRoute::Serial, "2026/03/07    09:05:04 ")));
  EXPECT_TRUE(connection.events.empty());
}

TEST(PrintActions, NoRouteSendsNothingButTheStampIsStillTakenEachClick) {
  FakeConnection connection;
  connection.parallel = "lpt1";
  FixedWallClock clock(kTime);
  PrintActions actions(connection, clock);
  EXPECT_EQ(actions.printMenu().status, PrintOutcome::Status::NoRoute);
  EXPECT_EQ(actions.printChecks().status, PrintOutcome::Status::NoRoute);
  EXPECT_EQ(actions.printShoppingList().status, PrintOutcome::Status::NoRoute);
  EXPECT_EQ(actions.printBarcode("ITF", BarcodeSize::Normal).status, PrintOutcome::Status::NoRoute);
  EXPECT_EQ(clock.reads(), 3);
  EXPECT_TRUE(connection.events.empty());
}

TEST(PrintActions, EachClickTakesTheTimeAnew) {
  FakeConnection connection;
  connection.parallel = "LPT3";
  FixedWallClock clock(kTime);
  PrintActions actions(connection, clock);
  ASSERT_FALSE(actions.printMenu().failed());
  clock.set(LocalTime{2026, 3, 7, 9, 6, 0});
  ASSERT_FALSE(actions.printMenu().failed());
  EXPECT_NE(connection.parallelBytes[3].find("09:05:04"), std::string::npos);
  EXPECT_NE(connection.parallelBytes[3].find("09:06:00"), std::string::npos);
}

TEST(PrintActions, UnknownBarcodeTypeOpensAndClosesButSendsNothing) {
  FakeConnection connection;
  FixedWallClock clock(kTime);
  PrintActions actions(connection, clock);
  const PrintOutcome outcome = actions.printBarcode("itf", BarcodeSize::Widen);
  EXPECT_EQ(outcome.status, PrintOutcome::Status::Sent);
  EXPECT_EQ(outcome.bytesSent, 0u);
  EXPECT_EQ(connection.events, (std::vector<std::string>{"open 1", "close 1"}));
  EXPECT_TRUE(connection.parallelBytes[1].empty());
}

TEST(PrintActions, ManualTextCopiesThenLineFeedAndCut) {
  const struct {
    std::string text;
    std::string count;
    std::string expected;
  } cases[] = {
      {"abc", "3", "abcabcabc" + kTail},
      {"abc", "1", "abc" + kTail},
      {"abc", "0", kTail},
      {"abc", "-4", kTail},
      {"", "1", kTail},
      {"line\r\n", "2", "line\r\nline\r\n" + kTail},
      {"x", " 2 ", "xx" + kTail},
  };
  for (const auto& c : cases) {
    FakeConnection connection;
    connection.serialIsOpen = true;
    FixedWallClock clock(kTime);
    PrintActions actions(connection, clock);
    const PrintOutcome outcome = actions.sendText(c.text, c.count);
    EXPECT_EQ(outcome.status, PrintOutcome::Status::Sent) << c.count;
    EXPECT_EQ(connection.serialBytes, c.expected) << c.count;
    EXPECT_EQ(outcome.bytesSent, c.expected.size());
  }
}

TEST(PrintActions, RepeatCountThatIsNoNumberFailsBeforeAnythingIsOpened) {
  for (const char* count : {"", "two", "3x", "1.5", "40000", "+-1"}) {
    FakeConnection connection;
    FixedWallClock clock(kTime);
    PrintActions actions(connection, clock);
    const PrintOutcome outcome = actions.sendText("abc", count);
    EXPECT_TRUE(outcome.failed()) << count;
    EXPECT_NE(outcome.message.find("repeat count"), std::string::npos);
    EXPECT_TRUE(connection.events.empty()) << count;
  }
}

TEST(PrintActions, DeviceFailuresAreReportedWithWhatWasSent) {
  FakeConnection refused;
  refused.openError = "cannot open /dev/lp0: Permission denied";
  FixedWallClock clock(kTime);
  PrintOutcome outcome = PrintActions(refused, clock).printMenu();
  EXPECT_TRUE(outcome.failed());
  EXPECT_EQ(outcome.message, refused.openError);

  FakeConnection broken;
  broken.failParallelWriteAt = 2;  // the third piece
  outcome = PrintActions(broken, clock).printMenu();
  EXPECT_TRUE(outcome.failed());
  EXPECT_EQ(outcome.bytesSent, 3u + 12u);
  EXPECT_NE(outcome.message.find("15 bytes were sent before"), std::string::npos) << outcome.message;
  EXPECT_EQ(broken.events, (std::vector<std::string>{"open 1", "close 1"}));
}

}  // namespace
}  // namespace j57

namespace j57 {
namespace {

TEST(TextFile, WholeFileEmptyFileMissingFileAndTooLarge) {
  char pattern[] = "/tmp/text-file.XXXXXX";
  const std::string dir = mkdtemp(pattern);
  const std::string path = dir + "/t.txt";
  std::string content(200000, 'a');
  content[12345] = '\0';  // raw bytes, zeros included
  { std::ofstream(path, std::ios::binary) << content; }
  TextFile file = ReadTextFile(path);
  EXPECT_TRUE(file.ok);
  EXPECT_EQ(file.bytes, content);
  EXPECT_FALSE(ReadTextFile(path, 1000).ok);
  { std::ofstream(path, std::ios::binary | std::ios::trunc); }
  file = ReadTextFile(path);
  EXPECT_TRUE(file.ok);
  EXPECT_TRUE(file.bytes.empty());
  file = ReadTextFile(dir + "/missing.txt");
  EXPECT_FALSE(file.ok);
  EXPECT_NE(file.error.find("No such file"), std::string::npos) << file.error;
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace j57
