// ModuleLink end to end: real pseudo-terminals, the reply worker, and the virtual
// module on the other side.

#include "config_tool/protocol/module_link.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#include <zlib.h>

#include <cstring>
#include <mutex>
#include <functional>
#include <thread>

#include "config_tool/protocol/command_table.h"
#include "config_tool/protocol/error_text.h"
#include "config_tool/protocol/parameter_codec.h"
#include "config_tool/protocol/result_codes.h"
#include "platform/serial/pseudo_terminal.h"
#include "config_tool/protocol/tests/scripted_line.h"
#include "sim/module/serial_module_server.h"

namespace tarnwave {
namespace {

using namespace std::chrono_literals;
using namespace command;

class ModuleLinkTest : public ::testing::Test {
 protected:
  void SetUp() override { startModule(false); }

  void startModule(bool echo, kitsim::ModuleFaults faults = {}) {
    m_link.close();
    m_module = std::make_unique<kitsim::SerialModuleServer>(kitsim::VirtualModuleAddress(7), faults, echo);
    ASSERT_TRUE(m_module->start());
    ASSERT_EQ(m_link.openSerial(m_module->portPath(), {}), 0);
    ASSERT_EQ(m_link.startWorker(), 0);
  }

  std::unique_ptr<kitsim::SerialModuleServer> m_module;
  ModuleLink m_link;
};

TEST_F(ModuleLinkTest, EveryParameterQueriesAndSetsThroughTheModule) {
  for (int id : kParameterCommands) {
    SCOPED_TRACE(*CommandMnemonic(id));
    ModuleParameters record;
    ASSERT_EQ(m_link.parameter(id, CommandForm::Query, record), 0);
    // What was read can be written back unchanged.
    EXPECT_EQ(m_link.parameter(id, CommandForm::Set, record), 0);
  }
  std::vector<std::string> requests = m_module->requests();
  EXPECT_EQ(requests.front(), "AT+SSID=?");
  EXPECT_EQ(requests[1], "AT+SSID=\"KitNet\"");
}

TEST_F(ModuleLinkTest, FactoryValuesDecodeIntoTheRecord) {
  ModuleParameters r;
  for (int id : kParameterCommands) ASSERT_EQ(m_link.parameter(id, CommandForm::Query, r), 0);
  EXPECT_STREQ(r.Ssid, "KitNet");
  EXPECT_EQ(r.NetSetting.addressMode, 0);
  EXPECT_STREQ(r.AutoModeSetting.Host, "127.0.0.1");
  EXPECT_EQ(r.AutoModeSetting.Port, 8899);
  EXPECT_EQ(r.ChList, 0x3FFFu);
  EXPECT_EQ(r.Escape, 0x2Bu);
  EXPECT_EQ(r.UartSetting.BaudRate, 115200);
  EXPECT_EQ(r.WebSetting.WebsPort, 80);
  EXPECT_STREQ(r.Password, "000000");
}

TEST_F(ModuleLinkTest, InvalidValueIsRefusedWithCode4) {
  ModuleParameters r;
  r.ChannelSetting = {1, 15};
  int result = m_link.parameter(CHL, CommandForm::Set, r);
  EXPECT_EQ(result, 4);
  EXPECT_EQ(ErrorText(result), "parameters is invalid!");
}

TEST_F(ModuleLinkTest, SavedValuesSurviveAResetUnsavedOnesDoNot) {
  ModuleParameters r;
  std::strcpy(r.Ssid, "Saved");
  ASSERT_EQ(m_link.parameter(SSID, CommandForm::SetAndSave, r), 0);
  r.ChannelSetting = {1, 9};
  ASSERT_EQ(m_link.parameter(CHL, CommandForm::Set, r), 0);
  r.RoamEn = 1;
  ASSERT_EQ(m_link.parameter(WARM, CommandForm::Set, r), 0);
  ASSERT_EQ(m_link.writeFlash(), 0);  // the roaming switch goes to flash now
  r.ReConNum = 9;
  ASSERT_EQ(m_link.parameter(WARC, CommandForm::Set, r), 0);

  ASSERT_EQ(m_link.resetModule(), 0);
  std::this_thread::sleep_for(200ms);
  // After a reset the module echoes again; the search turns that off with "AT+E".
  EXPECT_EQ(m_link.attention(), kResultUnexpectedReply);
  ASSERT_EQ(m_link.echoSwitch(), kResultUnexpectedReply);
  ASSERT_EQ(m_link.attention(), 0);

  ModuleParameters after;
  for (int id : {SSID, CHL, WARM, WARC}) ASSERT_EQ(m_link.parameter(id, CommandForm::Query, after), 0);
  EXPECT_STREQ(after.Ssid, "Saved");
  EXPECT_EQ(after.ChannelSetting.enable, 1);  // CHL was saved by PMTF along with WARM
  EXPECT_EQ(after.RoamEn, 1u);
  EXPECT_EQ(after.ReConNum, 5u);  // set after PMTF, lost

  ASSERT_EQ(m_link.restoreFactory(), 0);
  ASSERT_EQ(m_link.parameter(SSID, CommandForm::Query, after), 0);
  EXPECT_STREQ(after.Ssid, "KitNet");
}

TEST_F(ModuleLinkTest, AddressVersionAndFirmwareKind) {
  std::uint8_t address[6] = {};
  ASSERT_EQ(m_link.moduleAddress(address), 0);
  EXPECT_EQ(address[0], 0x02);
  EXPECT_EQ(address[5], 7);
  std::string version;
  ASSERT_EQ(m_link.firmwareVersion(version), 0);
  EXPECT_EQ(version.front(), 'H');
  int kind = -1;
  ASSERT_EQ(m_link.firmwareKind(kind), 0);
  EXPECT_EQ(kind, 1);
}

std::array<std::byte, kUpdateBlockSize> Block(int number, int count, char fill) {
  std::array<std::byte, kUpdateBlockSize> block{};
  block[0] = std::byte(number & 0xFF);
  block[1] = std::byte(number >> 8);
  block[2] = std::byte(count & 0xFF);
  block[3] = std::byte(count >> 8);
  std::memset(block.data() + 4, fill, 512);
  uLong crc = crc32(0, reinterpret_cast<const Bytef*>(block.data()), 516);
  for (int i = 0; i < 4; ++i) block[516 + i] = std::byte((crc >> (8 * i)) & 0xFF);
  return block;
}

TEST_F(ModuleLinkTest, FirmwareBlocksInTheLoadProgramme) {
  // The main programme takes no blocks.
  EXPECT_EQ(m_link.firmwareBlock(Block(0, 2, 'a')), 1);

  int mode = 1;
  ASSERT_EQ(m_link.updateMode(CommandForm::Set, mode), 0);
  ASSERT_EQ(m_link.resetModule(), 0);
  std::this_thread::sleep_for(200ms);
  // The load programme does not echo, so its answers come straight.
  int kind = 0;
  ASSERT_EQ(m_link.firmwareKind(kind), 0);
  EXPECT_EQ(kind, 2);

  ASSERT_EQ(m_link.firmwareBlock(Block(0, 2, 'a')), 0);
  ASSERT_EQ(m_link.firmwareBlock(Block(1, 2, 'b')), 0);
  auto bad = Block(2, 2, 'c');
  bad[100] = std::byte{0};  // spoils the CRC
  ASSERT_EQ(m_link.firmwareBlock(bad), 0);
  // The answer to the next block's command tells about the spoilt block.
  EXPECT_EQ(m_link.firmwareBlock(Block(2, 2, 'c')), 4);
  ASSERT_EQ(m_link.updateMode(CommandForm::Query, mode), 0);
  EXPECT_EQ(mode, 1);

  std::string image;
  m_module->inspect([&](kitsim::ModuleEngine& engine) { image = engine.receivedImage(); });
  EXPECT_EQ(image, std::string(512, 'a') + std::string(512, 'b'));
}

TEST_F(ModuleLinkTest, LateScanReplyIsCollected) {
  // Later than the progress the main window shows before it collects (2.2 s).
  startModule(false, {.scanDelayMs = 2500});
  ASSERT_EQ(m_link.startScan(), 0);
  std::vector<ScanEntry> entries;
  ASSERT_EQ(m_link.collectScan(entries), 0);
  EXPECT_EQ(entries.size(), 3u);
}

TEST_F(ModuleLinkTest, ScanJoinAndLinkState) {
  ASSERT_EQ(m_link.startScan(), 0);
  std::vector<ScanEntry> entries;
  ASSERT_EQ(m_link.collectScan(entries), 0);
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_STREQ(entries[1].ssid, "Shop-Guest");
  EXPECT_EQ(entries[1].bssid[5], 0x02);  // its BSSID came after a leftover line feed

  LinkState state;
  ASSERT_EQ(m_link.linkState(state), 0);
  EXPECT_EQ(state.connected, 0);
  ScanEntry joined;
  ASSERT_EQ(m_link.joinNetwork(joined), 0);
  EXPECT_EQ(joined.channel, 6);
  ASSERT_EQ(m_link.linkState(state), 0);
  EXPECT_EQ(state.connected, 1);
  EXPECT_STREQ(state.IpAddr, "192.168.6.23");

  ModuleParameters r;
  std::strcpy(r.Ssid, "Nowhere");
  ASSERT_EQ(m_link.parameter(SSID, CommandForm::Set, r), 0);
  EXPECT_EQ(m_link.joinNetwork(joined), 10);
  EXPECT_EQ(m_link.leaveNetwork(), 0);
}

TEST_F(ModuleLinkTest, SocketToALoopbackServer) {
  int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  socklen_t length = sizeof address;
  ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
  ASSERT_EQ(::listen(listener, 1), 0);

  SocketSetup setup;
  setup.Protocol = 0;
  setup.CsMode = 0;
  std::strcpy(setup.serverAddress, "127.0.0.1");
  setup.Port = ntohs(address.sin_port);
  ASSERT_EQ(m_link.createSocket(setup), 0);
  const int socket = setup.Protocol;
  EXPECT_EQ(socket, 1);
  int peer = ::accept(listener, nullptr, nullptr);
  ASSERT_GE(peer, 0);

  std::string hello = "hello module";
  std::size_t sent = 0;
  ASSERT_EQ(m_link.sendOnSocket(socket, std::as_bytes(std::span(hello)), sent), 0);
  EXPECT_EQ(sent, hello.size());
  char received[64] = {};
  ASSERT_EQ(::recv(peer, received, hello.size(), MSG_WAITALL), static_cast<ssize_t>(hello.size()));
  EXPECT_EQ(std::string(received, hello.size()), hello);

  std::string answer("bytes\r\n\0back", 12);
  ASSERT_EQ(::send(peer, answer.data(), answer.size(), 0), static_cast<ssize_t>(answer.size()));
  std::this_thread::sleep_for(100ms);
  std::vector<SocketState> states;
  ASSERT_EQ(m_link.socketStates(socket, states), 0);
  ASSERT_EQ(states.size(), 1u);
  EXPECT_EQ(states[0].status, 2);
  EXPECT_STREQ(states[0].peerAddress, "127.0.0.1");
  EXPECT_EQ(states[0].dataLength, 12);

  std::vector<std::byte> data;
  ASSERT_EQ(m_link.receiveFromSocket(socket, 64, data), 0);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(data.data()), data.size()), answer);
  EXPECT_EQ(m_link.closeSocket(socket), 0);
  EXPECT_EQ(m_link.closeSocket(socket), 12);

  // Anything off the loopback network is refused.
  std::strcpy(setup.serverAddress, "192.0.2.1");
  setup.Protocol = 0;
  EXPECT_EQ(m_link.createSocket(setup), 13);
  ::close(peer);
  ::close(listener);
}

TEST_F(ModuleLinkTest, IoValueAndManagementCommands) {
  int value = 5;
  ASSERT_EQ(m_link.ioValue(CommandForm::Set, value), 0);
  value = 0;
  ASSERT_EQ(m_link.ioValue(CommandForm::Query, value), 0);
  EXPECT_EQ(value, 5);
  // New line settings apply to the open port; the module still answers.
  m_link.changeSettings({9600, 1, 1, 2});
  EXPECT_EQ(m_link.enterEnts(), 0);
  EXPECT_EQ(m_link.enterEntm(), 0);
  EXPECT_EQ(m_module->requests().back(), "AT+ENTM");
}

TEST_F(ModuleLinkTest, FaultyModulesGiveTheirResultCodes) {
  ModuleParameters r;
  startModule(false, {.split = true});
  EXPECT_EQ(m_link.parameter(SSID, CommandForm::Query, r), 0);
  EXPECT_STREQ(r.Ssid, "KitNet");

  startModule(false, {.delayMs = 500});
  EXPECT_EQ(m_link.attention(), 0);

  startModule(false, {.garbage = true});
  EXPECT_EQ(m_link.attention(), kResultUnexpectedReply);

  startModule(false, {.silent = true});
  EXPECT_EQ(m_link.attention(), kResultNoResponse);

  startModule(false, {.noTerminator = true});
  EXPECT_EQ(m_link.attention(), kResultNoResponse);
}

TEST(ModuleLinkWithoutModule, ClosedLinkAndVanishingPort) {
  ModuleLink link;
  EXPECT_EQ(link.attention(), kResultInvalidHandle);
  EXPECT_EQ(link.startScan(), kResultInvalidHandle);
  EXPECT_EQ(link.resetModule(), 1);
  EXPECT_EQ(link.openSerial("/dev/does-not-exist", {}), kResultInvalidHandle);

  // A module that vanishes: the write fails as "device gone".
  auto pty = std::make_unique<kit::PseudoTerminal>();
  ASSERT_EQ(pty->open(), kit::SerialError::Ok);
  ASSERT_EQ(link.openSerial(pty->portPath(), {}), 0);
  ASSERT_EQ(link.startWorker(), 0);
  pty.reset();
  EXPECT_EQ(link.attention(), kResultSendFailed);
}

TEST(ModuleLinkWithoutModule, HostileLineNeverOverrunsTheReply) {
  kit::PseudoTerminal pty;
  ASSERT_EQ(pty.open(), kit::SerialError::Ok);
  ModuleLink link;
  ASSERT_EQ(link.openSerial(pty.portPath(), {}), 0);
  ASSERT_EQ(link.startWorker(), 0);

  // A thread answers each request with 4 KiB of payload and NUL bytes, then a terminator.
  std::atomic<bool> done{false};
  std::string reply = "+OK=" + std::string(2000, 'x') + std::string(2100, '\0') + "\r\n\r\n";
  std::mutex replyMutex;
  std::thread line([&] {
    std::array<std::byte, 256> buffer{};
    while (!done) {
      std::size_t got = 0;
      if (pty.read(buffer, got, 50ms) != kit::SerialError::Ok || got == 0) continue;
      std::lock_guard lock(replyMutex);
      (void)pty.write(reply);
    }
  });
  auto setReply = [&](std::string text) {
    std::lock_guard lock(replyMutex);
    reply = std::move(text);
  };
  ModuleParameters r;
  EXPECT_EQ(link.parameter(SSID, CommandForm::Query, r), 0);
  EXPECT_EQ(std::strlen(r.Ssid), 0u);  // the value never ended within the limit
  EXPECT_LE(link.request().replyLength, kReplyCapacity);
  setReply(std::string(4096, '\xff'));  // garbage without any terminator
  EXPECT_EQ(link.parameter(SSID, CommandForm::Query, r), kResultUnexpectedReply);
  done = true;
  line.join();
}

TEST_F(ModuleLinkTest, RequestTextsOfTheNetworkAndManagementOperations) {
  struct Case {
    const char* expected;
    std::function<void(ModuleLink&)> run;
  };
  const Case cases[] = {
      {"AT+WJOIN", [](ModuleLink& l) { ScanEntry e; (void)l.joinNetwork(e); }},
      {"AT+WLEAV", [](ModuleLink& l) { (void)l.leaveNetwork(); }},
      {"AT+WSCAN", [](ModuleLink& l) { std::vector<ScanEntry> e; (void)l.startScan(); (void)l.collectScan(e); }},
      {"AT+SKCT=0,0,192.168.1.10,8080", [](ModuleLink& l) {
         SocketSetup setup;
         std::strcpy(setup.serverAddress, "192.168.1.10");
         setup.Port = 8080;
         (void)l.createSocket(setup);
       }},
      {"AT+SKCT=1,1,30,9000", [](ModuleLink& l) {
         SocketSetup setup;
         setup.Protocol = 1;
         setup.CsMode = 1;
         setup.connectTimeout = 30;
         setup.Port = 9000;
         (void)l.createSocket(setup);
       }},
      {"AT+SKSND=3,2", [](ModuleLink& l) { std::size_t sent; std::string d = "ab"; (void)l.sendOnSocket(3, std::as_bytes(std::span(d)), sent); }},
      {"AT+SKRCV=3,100", [](ModuleLink& l) { std::vector<std::byte> d; (void)l.receiveFromSocket(3, 100, d); }},
      {"AT+SKSTT=0", [](ModuleLink& l) { std::vector<SocketState> s; (void)l.socketStates(0, s); }},
      {"AT+SKCLS=3", [](ModuleLink& l) { (void)l.closeSocket(3); }},
      {"AT+", [](ModuleLink& l) { (void)l.attention(); }},
      {"AT+E", [](ModuleLink& l) { (void)l.echoSwitch(); (void)l.echoSwitch(); }},
      {"AT+ENTS", [](ModuleLink& l) { (void)l.enterEnts(); }},
      {"AT+RSTF", [](ModuleLink& l) { (void)l.restoreFactory(); }},
      {"AT+PMTF", [](ModuleLink& l) { (void)l.writeFlash(); }},
      {"AT+IOC=?", [](ModuleLink& l) { int v = 0; (void)l.ioValue(CommandForm::Query, v); }},
      {"AT+IOC=12", [](ModuleLink& l) { int v = 12; (void)l.ioValue(CommandForm::SetAndSave, v); }},
      {"AT+QMAC=?", [](ModuleLink& l) { std::uint8_t a[6]; (void)l.moduleAddress(a); }},
      {"AT+QVER=?", [](ModuleLink& l) { int kind; (void)l.firmwareKind(kind); }},
      {"AT+LKSTT=?", [](ModuleLink& l) { LinkState s; (void)l.linkState(s); }},
      {"AT+&UPDM=?", [](ModuleLink& l) { int v = 0; (void)l.updateMode(CommandForm::Query, v); }},
      {"AT+&UPDM=0", [](ModuleLink& l) { int v = 0; (void)l.updateMode(CommandForm::Set, v); }},
      {"AT+&UPDM=!2", [](ModuleLink& l) { int v = 2; (void)l.updateMode(CommandForm::SetAndSave, v); (void)l.updateMode(CommandForm::Set, v = 0); }},
      {"AT+&UPDD=528", [](ModuleLink& l) { (void)l.firmwareBlock(std::array<std::byte, kUpdateBlockSize>{}); }},
  };
  for (const Case& c : cases) {
    std::size_t before = m_module->requests().size();
    c.run(m_link);
    std::vector<std::string> requests = m_module->requests();
    ASSERT_GT(requests.size(), before) << c.expected;
    EXPECT_EQ(requests[before], c.expected);
  }
  // The reset request is written without waiting for an answer.
  ASSERT_EQ(m_link.resetModule(), 0);
  for (int i = 0; i < 100 && m_module->requests().back() != "AT+Z"; ++i) std::this_thread::sleep_for(10ms);
  EXPECT_EQ(m_module->requests().back(), "AT+Z");
}

TEST(ModuleLinkScripted, SocketSendWritesOnlyTheAcceptedCount) {
  testing::ScriptedLine line([](const std::string& request) {
    std::vector<testing::ScriptedLine::Chunk> reply;
    if (request == "AT+SKSND=1,10") reply.push_back({0ms, "+OK=4\r\n\r\n"});
    return reply;
  });
  ModuleLink link;
  ASSERT_EQ(link.openSerial(line.portPath(), {}), 0);
  ASSERT_EQ(link.startWorker(), 0);
  std::string data = "0123456789";
  std::size_t sent = 0;
  ASSERT_EQ(link.sendOnSocket(1, std::as_bytes(std::span(data)), sent), 0);
  EXPECT_EQ(sent, 4u);
  for (int i = 0; i < 100 && line.received().size() < 18; ++i) std::this_thread::sleep_for(10ms);
  EXPECT_EQ(line.received(), "AT+SKSND=1,10\r0123");
}

TEST(ModuleLinkScripted, SocketReceiveReadsWhatCameAfterTheReply) {
  testing::ScriptedLine line([](const std::string& request) {
    std::vector<testing::ScriptedLine::Chunk> reply;
    if (request == "AT+SKRCV=1,10") reply = {{0ms, "+OK=10\r\n\r\nhello"}, {1000ms, "world"}};
    if (request == "AT+SKRCV=2,10") reply = {{0ms, "+OK=10\r\n\r\nhalf"}};
    if (request == "AT+SKRCV=3,10") reply = {{0ms, "+OK=3\r\n\r\nabc"}};
    return reply;
  });
  ModuleLink link;
  ASSERT_EQ(link.openSerial(line.portPath(), {}), 0);
  ASSERT_EQ(link.startWorker(), 0);
  std::vector<std::byte> data;
  ASSERT_EQ(link.receiveFromSocket(1, 10, data), 0);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(data.data()), data.size()), "helloworld");
  ASSERT_EQ(link.receiveFromSocket(3, 10, data), 0);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(data.data()), data.size()), "abc");
  // The rest never comes: after the continuation reads the receive is short.
  EXPECT_EQ(link.receiveFromSocket(2, 10, data), kResultRawDataFailed);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(data.data()), data.size()), "half");
}

}  // namespace
}  // namespace tarnwave

namespace tarnwave {
namespace {

// A module that answers a plain "+OK" to everything but the address query: the
// reply text still holds the address payload, and no operation may decode it as
// its own.
TEST(ModuleLinkScripted, PlainOkNeverDecodesAnOlderPayload) {
  testing::ScriptedLine line([](const std::string& request) {
    if (request == "AT+QMAC=?") return std::vector<testing::ScriptedLine::Chunk>{{0ms, "+OK=0A1B2C3D4E5F\r\n\r\n"}};
    return std::vector<testing::ScriptedLine::Chunk>{{0ms, "+OK\r\n\r\n"}};
  });
  ModuleLink link;
  ASSERT_EQ(link.openSerial(line.portPath(), {}), 0);
  ASSERT_EQ(link.startWorker(), 0);
  std::uint8_t address[6] = {};

  const std::string data = "0123456789";
  struct Case {
    const char* name;
    std::function<int()> run;
  };
  const Case cases[] = {
      {"WJOIN", [&] { ScanEntry e; return link.joinNetwork(e); }},
      {"SKCT", [&] { SocketSetup s{}; return link.createSocket(s); }},
      {"SKSND", [&] { std::size_t sent = 0; return link.sendOnSocket(1, std::as_bytes(std::span(data)), sent); }},
      {"SKRCV", [&] { std::vector<std::byte> d; return link.receiveFromSocket(1, 10, d); }},
      {"SKSTT", [&] { std::vector<SocketState> s; return link.socketStates(0, s); }},
      {"IOC", [&] { int v = 0; return link.ioValue(CommandForm::Query, v); }},
      {"QVER", [&] { std::string v; return link.firmwareVersion(v); }},
      {"LKSTT", [&] { LinkState s; return link.linkState(s); }},
      {"&UPDM", [&] { int v = 0; return link.updateMode(CommandForm::Query, v); }},
      {"SSID", [&] { ModuleParameters r; return link.parameter(SSID, CommandForm::Query, r); }},
      {"UART", [&] { ModuleParameters r; return link.parameter(UART, CommandForm::Query, r); }},
      {"WSCAN", [&] {
         std::vector<ScanEntry> entries;
         if (link.startScan() != kResultOk) return -1;
         return link.collectScan(entries);
       }},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(link.moduleAddress(address), 0);
    EXPECT_EQ(c.run(), kResultUnexpectedReply) << c.name;
  }
  // Sets and plain commands need no payload.
  ModuleParameters record;
  EXPECT_EQ(link.parameter(SSID, CommandForm::Set, record), 0);
  EXPECT_EQ(link.attention(), 0);
  EXPECT_EQ(link.closeSocket(1), 0);
}

}  // namespace
}  // namespace tarnwave
