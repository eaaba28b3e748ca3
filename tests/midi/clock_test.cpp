#include <gtest/gtest.h>
#include <sys/resource.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "midi/Clock.h"
#include "midi/MidiActivity.h"
#include "midi_support.h"

namespace kelvora::midi {
namespace {

TEST(TimeoutTest, TimesOutOnlyOnceTheTickIsPastTheDeadline) {
  test::VirtualTime time;
  TTimeout timeout;
  timeout.Start(5);
  time.clock.Advance(5000);
  EXPECT_FALSE(timeout.Check()) << "at the deadline itself";
  time.clock.Advance(1);
  EXPECT_FALSE(timeout.TimedOut()) << "TimedOut does not read the clock";
  EXPECT_TRUE(timeout.Check());
  EXPECT_TRUE(timeout.TimedOut());
  timeout.Start(1);
  EXPECT_FALSE(timeout.TimedOut()) << "Start clears the flag";
}

TEST(TimeoutTest, ComparesTicksAsUnsigned32BitNumbers) {
  test::VirtualTime time;
  time.clock.Advance(0x7FFFFFFFu);  // a signed compare would see the deadline as negative
  TTimeout timeout;
  timeout.Start(10);
  time.clock.Advance(9000);
  EXPECT_FALSE(timeout.Check());
  time.clock.Advance(1001);
  EXPECT_TRUE(timeout.Check());
}

TEST(TimeoutTest, AWaitThatTimesOutAdvancesVirtualTimePastTheLimit) {
  test::VirtualTime time;
  const uint32_t start = TickCount();
  TTimeout timeout;
  timeout.Start(20);
  EXPECT_FALSE(timeout.WaitUntil([] { return false; }));
  EXPECT_TRUE(timeout.TimedOut());
  EXPECT_EQ(TickCount() - start, 20001u);
}

TEST(TimeoutTest, TrafficInjectedAtAVirtualTimeEndsTheWait) {
  test::VirtualTime time;
  std::atomic<bool> arrived{false};
  time.clock.SetOnAdvance([&](uint32_t) {
    arrived = true;
    MidiActivity::Signal();
  });
  TTimeout timeout;
  timeout.Start(10);
  EXPECT_TRUE(timeout.WaitUntil([&] { return arrived.load(); }));
}

TEST(TimeoutTest, ActivityFromAnotherThreadWakesARealWait) {
  std::atomic<bool> done{false};
  std::thread peer([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    done = true;
    MidiActivity::Signal();
  });
  TTimeout timeout;
  timeout.Start(20);
  EXPECT_TRUE(timeout.WaitUntil([&] { return done.load(); }));
  peer.join();
}

double ProcessCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
         (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

TEST(TimeoutTest, ARealWaitBlocksInsteadOfSpinning) {
  TTimeout timeout;
  const double cpuBefore = ProcessCpuSeconds();
  const auto wallBefore = std::chrono::steady_clock::now();
  timeout.StartMs(400);
  EXPECT_FALSE(timeout.WaitUntil([] { return false; }));
  const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - wallBefore;
  EXPECT_GE(wall.count(), 0.4);
  // A polling loop would burn the whole wait; blocking costs a few wake-ups.
  EXPECT_LT(ProcessCpuSeconds() - cpuBefore, wall.count() / 4);
}

TEST(ClockTest, SleepAndTickCountUseTheInstalledClock) {
  {
    test::VirtualTime time;
    const uint32_t before = TickCount();
    SleepMs(60000);
    EXPECT_EQ(TickCount() - before, 60000u);
  }
  const uint32_t before = TickCount();
  SleepMs(15);
  EXPECT_GE(TickCount() - before, 15u) << "the steady clock is back";
}

}  // namespace
}  // namespace kelvora::midi
