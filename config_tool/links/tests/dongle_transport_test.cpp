// The dongle link run through the real driver on the virtual dongle, in
// process: slices and resends, silence, the empty notify area, removal.

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <chrono>
#include <future>
#include <mutex>
#include <thread>

#include "config_tool/links/dongle_link_values.h"
#include "config_tool/links/dongle_transport.h"
#include "config_tool/protocol/module_link.h"
#include "config_tool/protocol/result_codes.h"
#include "dongle_driver/host/driver_host.h"
#include "dongle_driver/host/in_process_device.h"
#include "sim/radio/engine_answerer.h"
#include "sim/radio/reply_frame.h"
#include "sim/radio/virtual_dongle.h"

namespace tarnwave {
namespace {

using namespace std::chrono_literals;

const kirva::RadioAddress kModule{0x00, 0x1E, 0xC0, 0x06, 0x00, 0x01};
const kirva::WirelessPassword kPassword{'a', 'b', 'c', 'd', 'e', 'f'};

class RecordingNotes : public kit::ui::NoteSink {
 public:
  void showNote(std::string text) override {
    std::lock_guard lock(m_mutex);
    notes.push_back(std::move(text));
  }
  std::vector<std::string> taken() {
    std::lock_guard lock(m_mutex);
    return notes;
  }

 private:
  std::mutex m_mutex;
  std::vector<std::string> notes;
};

// The driver hosted in this process on a virtual dongle with one module on
// channel 6 whose answers come from the virtual module engine.
class DongleLinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(host.load(), wdm::Status::Success);
    host.trace().setSink([this](kirva::TraceComponent, std::string_view line) {
      if (line == "notify len:0") ++emptyNotifyReads;
    });
    module = std::make_shared<sim::radio::RadioModule>(
        kModule, 6, std::make_shared<sim::radio::EngineAnswerer>(kModule, "abcdef"));
    medium->add(module);
    dongle = std::make_shared<sim::radio::VirtualDongle>(dongleConfig(), medium);
    ASSERT_EQ(host.plugIn(dongle), wdm::Status::Success);
    SetWirelessPassword(kPassword);
    SetTargetModule(kModule);
    ASSERT_EQ(link.startWorker(), kResultOk);
    int result = -1;
    auto opened = DongleTransport::open(link.request(), link.worker(), &notes, result);
    ASSERT_EQ(result, kResultOk);
    transport = opened.get();
    ASSERT_EQ(link.openTransport(std::move(opened)), kResultOk);
    ASSERT_TRUE(transport->switchChannel(6));
  }
  virtual sim::radio::DongleConfig dongleConfig() const { return {}; }

  // Answers the last request the module heard with a reply frame of the given text,
  // as if it had come over the air.
  void injectReply(const std::string& text) {
    std::optional<sim::radio::HeardFrame> heard;
    for (const auto& frame : dongle->recentFrames())
      if (auto parsed = sim::radio::ParseRequestFrame(frame); parsed && parsed->destination == kModule) heard = parsed;
    ASSERT_TRUE(heard.has_value());
    sim::radio::ReplyFrameFields fields;
    fields.destination = heard->source;
    fields.module = kModule;
    fields.sequenceNumber = 77;
    fields.channel = 6;
    fields.commandNumber = heard->commandNumber;
    fields.type = heard->type;
    fields.text = text;
    dongle->inject(sim::radio::BuildReplyFrame(fields));
  }

  void TearDown() override {
    link.close();
    link.stopWorker();
    host.trace().setSink(nullptr);
  }

  kirva::DriverHost host;
  kirva::InProcessRegistration registration{host};
  std::shared_ptr<sim::radio::RadioMedium> medium = std::make_shared<sim::radio::RadioMedium>();
  std::shared_ptr<sim::radio::RadioModule> module;
  std::shared_ptr<sim::radio::VirtualDongle> dongle;
  RecordingNotes notes;
  ModuleLink link;
  DongleTransport* transport = nullptr;
  std::atomic<int> emptyNotifyReads{0};
};

TEST_F(DongleLinkTest, QueryOverTheAirReturnsTheModulesValue) {
  std::string version;
  ASSERT_EQ(link.firmwareVersion(version), kResultOk);
  EXPECT_FALSE(version.empty());
  EXPECT_TRUE(link.isDongleMode());
  EXPECT_EQ(module->heardCount(), 1);
}

TEST_F(DongleLinkTest, ReplyInTheFourthSliceEndsTheWaitAfterFourWrites) {
  module->setFaults({.dropReplies = 3});
  EXPECT_EQ(link.attention(), kResultOk);
  EXPECT_EQ(module->heardCount(), 4);
}

TEST_F(DongleLinkTest, SilentModuleGetsElevenTransmissionsAnd201) {
  module->setFaults({.silent = true});
  EXPECT_EQ(link.attention(), kResultNoResponse);
  EXPECT_EQ(module->heardCount(), 11);
}

TEST_F(DongleLinkTest, EmptyNotifyAreaGivesNoReplyEvent) {
  // The read event without a reply behind it, while a command waits: the worker
  // finds length 0.
  link.worker().beginCommand(3000);
  link.worker().requestEvent().set();
  for (int i = 0; i < 1000 && emptyNotifyReads.load() == 0; ++i) std::this_thread::sleep_for(5ms);
  ASSERT_EQ(emptyNotifyReads.load(), 1);
  EXPECT_FALSE(link.worker().replyEvent().wait(100ms));
}

TEST_F(DongleLinkTest, ReplyWithoutTextIsAnUnexpectedReplyNotSilence) {
  // The notify area then holds 1 to 4 bytes: an empty text, which is classified,
  // instead of "no reply" with ten resends.
  module->setFaults({.silent = true});
  auto command = std::async(std::launch::async, [&] { return link.attention(); });
  for (int i = 0; i < 2000 && module->heardCount() == 0; ++i) std::this_thread::sleep_for(1ms);
  injectReply("");
  ASSERT_EQ(command.wait_for(30s), std::future_status::ready);
  EXPECT_EQ(command.get(), kResultUnexpectedReply);
  EXPECT_LT(module->heardCount(), 11);
}

TEST_F(DongleLinkTest, PullingTheDongleMidCommandGives204Then203) {
  module->setFaults({.silent = true});
  auto command = std::async(std::launch::async, [&] { return link.attention(); });
  for (int i = 0; i < 2000 && module->heardCount() == 0; ++i) std::this_thread::sleep_for(5ms);
  ASSERT_GE(module->heardCount(), 1);
  host.pullOut();
  ASSERT_EQ(command.wait_for(30s), std::future_status::ready);
  EXPECT_EQ(command.get(), kResultSendFailed);
  EXPECT_EQ(link.attention(), kResultInvalidHandle);
  // The worker ended after its note; give it the time it needs to say so.
  for (int i = 0; i < 1000 && notes.taken().empty(); ++i) std::this_thread::sleep_for(5ms);
  ASSERT_EQ(notes.taken().size(), 1u);
  EXPECT_EQ(notes.taken()[0], kDongleRemovedNote);
}

TEST_F(DongleLinkTest, TheSameLinkWorksAgainAfterARemovalAndAReopen) {
  ASSERT_EQ(link.attention(), kResultOk);
  host.pullOut();
  for (int i = 0; i < 1000 && link.workerRunning(); ++i) std::this_thread::sleep_for(5ms);
  EXPECT_FALSE(link.workerRunning());
  EXPECT_EQ(link.attention(), kResultInvalidHandle);

  // The dongle comes back; the link (kept for the program's life) is reopened twice
  // in a row, as a search after a search does.
  ASSERT_EQ(host.plugIn(std::make_shared<sim::radio::VirtualDongle>(sim::radio::DongleConfig{}, medium)),
            wdm::Status::Success);
  for (int round = 0; round < 2; ++round) {
    ASSERT_EQ(link.startWorker(), kResultOk);
    EXPECT_TRUE(link.workerRunning());
    int result = -1;
    auto reopened = DongleTransport::open(link.request(), link.worker(), &notes, result);
    ASSERT_EQ(result, kResultOk);
    DongleTransport* again = reopened.get();
    ASSERT_EQ(link.openTransport(std::move(reopened)), kResultOk);
    ASSERT_TRUE(again->switchChannel(6));
    EXPECT_EQ(link.attention(), kResultOk) << "round " << round;
  }
}

TEST_F(DongleLinkTest, SocketReceiveDeliversBinaryDataOverTheAir) {
  int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  socklen_t length = sizeof address;
  ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
  ASSERT_EQ(::listen(listener, 1), 0);
  SocketSetup setup{};
  std::strcpy(setup.serverAddress, "127.0.0.1");
  setup.Port = ntohs(address.sin_port);
  ASSERT_EQ(link.createSocket(setup), kResultOk);
  int peer = ::accept(listener, nullptr, nullptr);
  ASSERT_GE(peer, 0);

  // Line ends, a zero byte and trailing line feeds must arrive as they were sent.
  const std::string answer("bytes\r\n\0back\r\n\r\n\n", 16);
  ASSERT_EQ(::send(peer, answer.data(), answer.size(), 0), static_cast<ssize_t>(answer.size()));
  std::this_thread::sleep_for(100ms);
  std::vector<std::byte> data;
  EXPECT_EQ(link.receiveFromSocket(setup.Protocol, 64, data), kResultOk);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(data.data()), data.size()), answer);
  // Nothing waiting: a count of 0 and no data.
  EXPECT_EQ(link.receiveFromSocket(setup.Protocol, 64, data), kResultOk);
  EXPECT_TRUE(data.empty());
  ::close(peer);
  ::close(listener);
}

// Every reply comes 600 ms late, as a module busy scanning answers.
class SlowDongleLinkTest : public DongleLinkTest {
 protected:
  sim::radio::DongleConfig dongleConfig() const override { return {.replyDelay = 600ms}; }
};

TEST_F(SlowDongleLinkTest, ScanReplyArrivingWhileCollectingIsKept) {
  ASSERT_EQ(link.startScan(), kResultOk);
  std::vector<ScanEntry> entries;
  ASSERT_EQ(link.collectScan(entries), kResultOk);
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_STREQ(entries[2].ssid, "Backoffice");
  EXPECT_EQ(module->heardCount(), 1);
}

TEST_F(DongleLinkTest, ScanReplyArrivingBeforeCollectingIsKept) {
  ASSERT_EQ(link.startScan(), kResultOk);
  std::this_thread::sleep_for(300ms);  // the main window shows its progress meanwhile
  std::vector<ScanEntry> entries;
  ASSERT_EQ(link.collectScan(entries), kResultOk);
  EXPECT_EQ(entries.size(), 3u);
}

TEST_F(DongleLinkTest, ExchangeWrapsFlashWriteInRadioCommandNumbers) {
  EXPECT_EQ(link.writeFlash(), kResultOk);
  // OpenExchange 250, then the request carries 251.
  EXPECT_EQ(module->heardCount(), 1);
}

TEST_F(DongleLinkTest, ReadTextDeliversTheNextReply) {
  ASSERT_TRUE(link.WriteText("AT+QMAC=?\r"));
  char buffer[64];
  std::size_t got = 0;
  ASSERT_TRUE(link.ReadText(buffer, got));
  // The payload behind "+OK=": the module's address, then the dongle's
  // terminator; the reply length counts from the start of the reply text.
  ASSERT_GE(got, 15u);
  EXPECT_EQ(std::string(buffer, 15), std::string("001EC0060001\n\n\0", 15));
}

}  // namespace
}  // namespace tarnwave
