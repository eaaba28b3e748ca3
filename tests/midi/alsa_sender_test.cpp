// The paced sender against a recording output: order, pacing, done reports, stop and errors.
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <vector>

#include "midi/AlsaSender.h"

namespace kelvora::midi {
namespace {

using Bytes = std::vector<uint8_t>;
using Clock = AlsaWirePacer::Clock;
using namespace std::chrono_literals;

Bytes Sysex(size_t length) {
  Bytes bytes(length, 0x22);
  bytes.front() = 0xF0;
  bytes.back() = 0xF7;
  return bytes;
}

// Records what the sender hands to the sequencer, and its reports.
class Recorder {
 public:
  struct Event {
    Bytes bytes;  // empty for a short message
    uint32_t packed = 0;
    Clock::time_point at;
  };

  AlsaSender::Output Output() {
    return {[this](const uint8_t* data, size_t length) {
              std::lock_guard lock(mutex_);
              if (refusals_ > 0) {
                --refusals_;
                return EAGAIN;
              }
              if (failAfter_ >= 0 && failAfter_-- == 0) return ENOENT;
              events_.push_back({Bytes(data, data + length), 0, Clock::now()});
              changed_.notify_all();
              return 0;
            },
            [this](uint32_t packed) {
              std::lock_guard lock(mutex_);
              if (shortError_) return shortError_;
              events_.push_back({{}, packed, Clock::now()});
              changed_.notify_all();
              return 0;
            }};
  }
  AlsaSender::Handlers Handlers() {
    return {[this] { Report(0, Clock::now()); }, [this](int error) { Report(error, {}); }};
  }
  // Waits (at most 10 s) for `count` reports; each is 0 for done or the error given up on.
  std::vector<int> Reports(size_t count) {
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, 10s, [&] { return reports_.size() >= count; });
    return reports_;
  }
  void WaitForEvents(size_t count) {
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, 10s, [&] { return events_.size() >= count; });
  }
  std::vector<Event> Events() {
    std::lock_guard lock(mutex_);
    return events_;
  }
  Clock::time_point DoneAt() {
    std::lock_guard lock(mutex_);
    return doneAt_;
  }
  void Refuse(int times) {
    std::lock_guard lock(mutex_);
    refusals_ = times;
  }
  void FailAfter(int events) {
    std::lock_guard lock(mutex_);
    failAfter_ = events;
  }
  void FailShort(int error) {
    std::lock_guard lock(mutex_);
    shortError_ = error;
  }

 private:
  void Report(int error, Clock::time_point at) {
    std::lock_guard lock(mutex_);
    reports_.push_back(error);
    if (!error) doneAt_ = at;
    changed_.notify_all();
  }

  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<Event> events_;
  std::vector<int> reports_;
  Clock::time_point doneAt_;
  int refusals_ = 0;
  int failAfter_ = -1;
  int shortError_ = 0;
};

Bytes Joined(const std::vector<Recorder::Event>& events) {
  Bytes joined;
  for (const auto& event : events)
    joined.insert(joined.end(), event.bytes.begin(), event.bytes.end());
  return joined;
}

TEST(AlsaSender, PacesALongMessageAndReportsDoneAfterItsWireTime) {
  Recorder out;
  const auto byteTime = 50us;
  const size_t maxAhead = 1024;
  AlsaSender sender(out.Output(), out.Handlers(), AlsaWirePacer(byteTime, maxAhead));
  const Bytes message = Sysex(6000);
  sender.SendLong(message.data(), message.size());
  ASSERT_EQ(out.Reports(1), std::vector<int>{0});
  const auto events = out.Events();
  EXPECT_EQ(Joined(events), message);
  ASSERT_EQ(events.size(), 24u);
  size_t handed = 0;
  for (const auto& event : events) {
    EXPECT_LE(event.bytes.size(), 256u);
    handed += event.bytes.size();
    // Bytes handed over minus those the wire can have taken since the first event.
    const auto onWire = static_cast<size_t>((event.at - events[0].at) / byteTime);
    EXPECT_LE(handed, onWire + maxAhead) << "at byte " << handed;
  }
  EXPECT_GE(out.DoneAt() - events[0].at, byteTime * message.size());
  EXPECT_TRUE(sender.Idle());
}

TEST(AlsaSender, ReportsEachMessageDoneInOrderAndShortMessagesQueueBehindALongOne) {
  Recorder out;
  AlsaSender sender(out.Output(), out.Handlers(), AlsaWirePacer(10us));
  const Bytes first = Sysex(1000), second = Sysex(3);
  sender.SendLong(first.data(), first.size());
  EXPECT_EQ(sender.SendShort(0x403C90), 0);
  sender.SendLong(second.data(), second.size());
  sender.SendLong(nullptr, 0);
  EXPECT_EQ(out.Reports(3), (std::vector<int>{0, 0, 0}));
  const auto events = out.Events();
  ASSERT_EQ(events.size(), 6u);
  EXPECT_EQ(events[4].packed, 0x403C90u);  // after all of the first message
  EXPECT_EQ(events[5].bytes, second);
}

TEST(AlsaSender, ShortMessageOnAnIdleOutputGoesAtOnceWithItsResult) {
  Recorder out;
  AlsaSender sender(out.Output(), out.Handlers());
  EXPECT_EQ(sender.SendShort(0x05C0), 0);
  ASSERT_EQ(out.Events().size(), 1u);
  EXPECT_EQ(out.Events()[0].packed, 0x05C0u);
  EXPECT_EQ(sender.SendShort(0x0505), EINVAL);  // no status byte
  EXPECT_EQ(sender.SendShort(0x00F0), EINVAL);  // SysEx goes by SendLong
  EXPECT_EQ(sender.SendShort(0x80C0), EINVAL);  // program 128
  out.FailShort(ENODEV);
  EXPECT_EQ(sender.SendShort(0x05C0), ENODEV);
  EXPECT_EQ(out.Events().size(), 1u);
}

TEST(AlsaSender, ABurstOfShortMessagesIsPacedAndKeepsItsOrder) {
  Recorder out;
  const auto byteTime = 50us;
  AlsaSender sender(out.Output(), out.Handlers(), AlsaWirePacer(byteTime, 1024));
  for (uint32_t i = 0; i < 600; ++i)
    ASSERT_EQ(sender.SendShort(0x90 | (i % 128) << 8 | 0x40 << 16), 0);
  out.WaitForEvents(600);
  const auto events = out.Events();
  ASSERT_EQ(events.size(), 600u);
  for (size_t i = 0; i < events.size(); ++i) {
    EXPECT_EQ(events[i].packed, 0x90 | (i % 128) << 8 | 0x40 << 16);
    const auto onWire = static_cast<size_t>((events[i].at - events[0].at) / byteTime);
    EXPECT_LE(3 * (i + 1), onWire + 1024) << "message " << i;
  }
  EXPECT_TRUE(out.Reports(0).empty());  // short messages have no done report
}

TEST(AlsaSender, StopAbandonsTheRestAndEndsACutOffSysex) {
  Recorder out;
  Bytes message = Sysex(20000);
  {
    AlsaSender sender(out.Output(), out.Handlers());  // real wire rate: 6.4 s
    sender.SendLong(message.data(), message.size());
    sender.SendLong(message.data(), message.size());
    out.WaitForEvents(1);
    sender.Stop();
    sender.SendLong(message.data(), message.size());  // after Stop: nothing
    EXPECT_EQ(sender.SendShort(0x403C90), EBADF);
  }
  const auto events = out.Events();
  ASSERT_GE(events.size(), 2u);
  EXPECT_LT(events.size(), 20u);  // of the 158 events of both messages
  EXPECT_EQ(events.back().bytes, Bytes{0xF7});
  EXPECT_TRUE(out.Reports(0).empty());
}

TEST(AlsaSender, RetriesAnEventRefusedForWantOfRoomAndReportsAFailedMessageNotDone) {
  Recorder out;
  AlsaSender sender(out.Output(), out.Handlers(), AlsaWirePacer(10us));
  const Bytes message = Sysex(1000);
  out.Refuse(3);
  sender.SendLong(message.data(), message.size());
  ASSERT_EQ(out.Reports(1), std::vector<int>{0});
  EXPECT_EQ(Joined(out.Events()), message);
  out.FailAfter(2);
  sender.SendLong(message.data(), message.size());
  ASSERT_EQ(out.Reports(2), (std::vector<int>{0, ENOENT}));
  EXPECT_EQ(out.Events().size(), 6u);
  sender.SendLong(message.data(), message.size());  // the next one still goes
  EXPECT_EQ(out.Reports(3), (std::vector<int>{0, ENOENT, 0}));
  EXPECT_EQ(out.Events().size(), 10u);
}

}  // namespace
}  // namespace kelvora::midi
