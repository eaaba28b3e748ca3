// WaitResult: bounded when the sampler falls silent, kept alive while it sends WAIT (mended: it
// used to wait without end).
#include <gtest/gtest.h>

#include <atomic>

#include "support/SessionFixture.h"

namespace kelvora::testing {
namespace {

using namespace protocol;

class WaitResultTest : public SessionFixture {
 protected:
  void SetUp() override {
    SessionFixture::SetUp();
    ASSERT_TRUE(Connect());
  }
  void TearDown() override {
    clock.SetOnAdvance(nullptr);
    SessionFixture::TearDown();
  }

  // Each time virtual time moves on the sampler sends a WAIT, until `waitsFor` ms have passed;
  // the first move past `ackAfter` ms sends an ACK, so a wait without bound fails the test
  // instead of hanging it.
  void Script(uint32_t waitsFor, uint32_t ackAfter) {
    const uint32_t start = midi::TickCount();
    clock.SetOnAdvance([this, start, waitsFor, ackAfter](uint32_t now) {
      if (now - start < waitsFor) Send(Response(1));
      if (now - start >= ackAfter && !ackSent_.exchange(true)) Send(Response(0));
    });
  }
  void Send(const std::vector<uint8_t>& bytes) {
    driver->SendToProgram(bytes.data(), bytes.size());
  }

  std::atomic<bool> ackSent_{false};
};

TEST_F(WaitResultTest, GivesUpAfterThirtySilentSeconds) {
  const uint32_t start = midi::TickCount();
  Script(0, 120000);
  EXPECT_EQ(eps->WaitResult(), prNothing);
  const uint32_t waited = midi::TickCount() - start;
  EXPECT_GE(waited, kSilenceLimitMs);
  EXPECT_LT(waited, kSilenceLimitMs + 10000);
  EXPECT_EQ(ui.beginWaits, ui.endWaits);
}

TEST_F(WaitResultTest, SilenceIsCountedFromTheLastWait) {
  SendToProgram(Response(1));
  const uint32_t start = midi::TickCount();
  Script(0, 120000);
  EXPECT_EQ(eps->WaitResult(), prNothing);
  EXPECT_GE(midi::TickCount() - start, kSilenceLimitMs);
}

TEST_F(WaitResultTest, RepeatedWaitsKeepTheWaitAlive) {
  const uint32_t start = midi::TickCount();
  Script(60000, 60000);
  EXPECT_EQ(eps->WaitResult(), prAck);
  EXPECT_GE(midi::TickCount() - start, 60000u);
}

}  // namespace
}  // namespace kelvora::testing
