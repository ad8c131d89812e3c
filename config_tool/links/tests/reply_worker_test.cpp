#include "config_tool/links/reply_worker.h"

#include <gtest/gtest.h>

#include <chrono>

#include "config_tool/links/serial_transport.h"
#include "platform/serial/pseudo_terminal.h"

namespace tarnwave {
namespace {

using namespace std::chrono_literals;

class ReplyWorkerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(m_pty.open(), kit::SerialError::Ok);
    auto transport = std::make_unique<SerialTransport>(kit::SystemClock::instance());
    ASSERT_TRUE(transport->open(m_pty.portPath(), {}));
    m_slot.replace(std::move(transport));
    ASSERT_TRUE(m_worker.start());
  }
  void TearDown() override {
    m_worker.stop();
    m_slot.replace(nullptr);
  }

  kit::PseudoTerminal m_pty;
  CommandRequest m_request;
  TransportSlot m_slot;
  ReplyWorker m_worker{m_request, m_slot};
};

TEST_F(ReplyWorkerTest, ClassifiesTheReplyAndSignals) {
  m_worker.beginCommand(3000);
  ASSERT_EQ(m_pty.write("+ERR=-4\r\n\r\n"), kit::SerialError::Ok);
  m_worker.requestEvent().set();
  ASSERT_TRUE(m_worker.replyEvent().wait(10s));
  EXPECT_EQ(m_request.errorCode, 4);

  m_worker.beginCommand(3000);
  ASSERT_EQ(m_pty.write("+OK=abc\r\n\r\n"), kit::SerialError::Ok);
  m_worker.requestEvent().set();
  ASSERT_TRUE(m_worker.replyEvent().wait(10s));
  EXPECT_EQ(m_request.errorCode, 0);
  EXPECT_EQ(m_request.replyLength, 7);
  EXPECT_EQ(std::string(m_request.replyText, 3), "abc");
}

TEST_F(ReplyWorkerTest, TooShortReplyIsNoReply) {
  m_worker.beginCommand(300);
  ASSERT_EQ(m_pty.write("OK"), kit::SerialError::Ok);
  m_worker.requestEvent().set();
  EXPECT_FALSE(m_worker.replyEvent().wait(3s));
}

TEST_F(ReplyWorkerTest, StopEndsAGatheringInProgressPromptly) {
  m_worker.beginCommand(60000);  // 600 empty reads if nothing stopped them
  m_worker.requestEvent().set();
  std::this_thread::sleep_for(100ms);
  auto begin = std::chrono::steady_clock::now();
  m_worker.stop();
  // Generous: a stop must not wait for the gathering's ten minutes.
  EXPECT_LT(std::chrono::steady_clock::now() - begin, 20s);
  EXPECT_FALSE(m_worker.running());
}

TEST_F(ReplyWorkerTest, AbandonedCommandStopsItsGatheringAndGetsNoReply) {
  auto* transport = static_cast<SerialTransport*>(m_slot.get());
  m_worker.beginCommand(60000);
  m_worker.requestEvent().set();
  std::this_thread::sleep_for(100ms);
  m_worker.abandonCommand();
  // The late reply: no gathering is left to take it (it stays on the line) and no
  // reply event comes for it.
  ASSERT_EQ(m_pty.write("+OK=late\r\n\r\n"), kit::SerialError::Ok);
  EXPECT_FALSE(m_worker.replyEvent().wait(700ms));
  EXPECT_EQ(transport->port().device().queuedInput(), 12u);
  // A signal for a command nobody waits for any more is ignored as well.
  m_worker.requestEvent().set();
  EXPECT_FALSE(m_worker.replyEvent().wait(700ms));

  // The next request drops the stale bytes; its reply is its own.
  m_worker.beginCommand(3000);
  ASSERT_TRUE(transport->sendRequest("AT+QVER=?\r"));
  ASSERT_EQ(m_pty.write("+OK=fresh\r\n\r\n"), kit::SerialError::Ok);
  m_worker.requestEvent().set();
  ASSERT_TRUE(m_worker.replyEvent().wait(10s));
  EXPECT_EQ(std::string(m_request.replyText, 5), "fresh");
  // One reply per command: a second signal delivers nothing more.
  ASSERT_EQ(m_pty.write("+OK=again\r\n\r\n"), kit::SerialError::Ok);
  m_worker.requestEvent().set();
  EXPECT_FALSE(m_worker.replyEvent().wait(700ms));
  EXPECT_EQ(std::string(m_request.replyText, 5), "fresh");
}

TEST_F(ReplyWorkerTest, ClosingTheLinkDuringAGatheringIsSafe) {
  m_worker.beginCommand(60000);
  m_worker.requestEvent().set();
  std::this_thread::sleep_for(100ms);
  m_slot.replace(nullptr);
  EXPECT_TRUE(m_worker.running());
}

}  // namespace
}  // namespace tarnwave
