// Against a real ALSA sequencer (label hardware): a peer client with one duplex port stands in
// for the sampler's MIDI interface.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "midi/AlsaMidiDriver.h"
#include "midi/AlsaSequencer.h"
#include "midi/AlsaSysexChunker.h"

namespace kelvora::midi {
namespace {

using Bytes = std::vector<uint8_t>;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

Bytes Sysex(size_t length) {
  Bytes bytes(length);
  for (size_t i = 0; i < length; ++i) bytes[i] = static_cast<uint8_t>((i * 7) % 0x80);
  bytes.front() = 0xF0;
  bytes.back() = 0xF7;
  return bytes;
}

// What arrived somewhere, guarded, with a wait.
struct Inbox {
  std::mutex mutex;
  std::condition_variable changed;
  Bytes sysex;
  std::vector<uint32_t> shorts;
  std::vector<std::string> reports;

  void Add(const std::function<void()>& change) {
    std::lock_guard lock(mutex);
    change();
    changed.notify_all();
  }
  bool WaitFor(const std::function<bool()>& ready, std::chrono::milliseconds limit = 15s) {
    std::unique_lock lock(mutex);
    return changed.wait_for(lock, limit, ready);
  }
};

class AlsaHardware : public testing::Test {
 protected:
  void SetUp() override {
    if (access("/dev/snd/seq", F_OK) != 0) {
      GTEST_SKIP() << "no ALSA sequencer here (/dev/snd/seq missing): hardware test skipped";
    }
    ASSERT_EQ(OpenPeer(peer_), 0);
  }
  int OpenPeer(AlsaSequencer& peer) {
    int error = peer.Open("KelvoraPeer");
    if (!error) error = peer.CreatePort("Duplex", AlsaSequencer::kDuplexCaps);
    if (!error) {
      error = peer.StartInput(
          {[this](const uint8_t* data, size_t length) {
             peerIn_.Add([&] { peerIn_.sysex.insert(peerIn_.sysex.end(), data, data + length); });
           },
           [this](uint32_t packed) { peerIn_.Add([&] { peerIn_.shorts.push_back(packed); }); },
           nullptr});
    }
    return error;
  }
  AlsaMidiDriver::Reports Recording() {
    return {[this](int slot, OutEvent event) {
              driverIn_.Add([&] {
                driverIn_.reports.push_back("out" + std::to_string(slot) + ":" +
                                            std::to_string(static_cast<int>(event)));
              });
            },
            [this](int slot, InEvent event, const uint8_t* data, size_t length, uint32_t packed) {
              driverIn_.Add([&] {
                if (event == InEvent::LongData)
                  driverIn_.sysex.insert(driverIn_.sysex.end(), data, data + length);
                if (event == InEvent::ShortData) driverIn_.shorts.push_back(packed);
                driverIn_.reports.push_back("in" + std::to_string(slot) + ":" +
                                            std::to_string(static_cast<int>(event)));
              });
            }};
  }
  static int IndexOf(AlsaMidiDriver& driver, bool output, const std::string& name) {
    const int count = output ? driver.OutputCount() : driver.InputCount();
    for (int i = 0; i < count; ++i) {
      if ((output ? driver.OutputName(i) : driver.InputName(i)) == name) return i;
    }
    return -1;
  }
  void PeerSendsSysex(const Bytes& message) { PeerSendsSysexFrom(peer_, message); }
  static void PeerSendsSysexFrom(AlsaSequencer& peer, const Bytes& message) {
    for (size_t at = 0; at < message.size();) {
      const size_t n = AlsaSysexChunker::NextLength(message.data() + at, message.size() - at);
      ASSERT_EQ(peer.SendSysex(message.data() + at, n), 0);
      at += n;
    }
  }

  const std::string peerName_ = "KelvoraPeer:Duplex";
  Inbox peerIn_;
  Inbox driverIn_;
  AlsaSequencer peer_;  // after the inboxes: its thread writes into them until it is closed
};

TEST_F(AlsaHardware, DriverSendsPacedAndReceivesJoinedSysexAndShortMessages) {
  AlsaMidiDriver driver(Recording());
  const int output = IndexOf(driver, true, peerName_);
  const int input = IndexOf(driver, false, peerName_);
  ASSERT_GE(output, 0);
  ASSERT_GE(input, 0);
  ASSERT_EQ(driver.OpenOutput(output, 3), 0);
  ASSERT_EQ(driver.OpenInput(input, 5), 0);
  for (int i = 0; i < driver.OutputCount(); ++i) {
    EXPECT_EQ(driver.OutputName(i).rfind("Kelvora:", 0), std::string::npos);  // not our own
  }
  const Bytes message = Sysex(3000);
  const auto start = Clock::now();
  driver.SendLong(3, message.data(), message.size());
  ASSERT_TRUE(driverIn_.WaitFor([&] { return driverIn_.reports.size() == 3; }));
  EXPECT_GE(Clock::now() - start, 3000 * 320us);  // the wire time of 3000 bytes
  EXPECT_EQ(driver.SendShort(3, 0x403C90), 0);
  EXPECT_TRUE(peerIn_.WaitFor([&] { return !peerIn_.shorts.empty(); }));
  {
    std::lock_guard lock(peerIn_.mutex);
    EXPECT_EQ(peerIn_.sysex, message);
    EXPECT_EQ(peerIn_.shorts, std::vector<uint32_t>{0x403C90});
  }
  driver.StartInput(5);
  // 79 events sent at once, unpaced: more than a default kernel input pool (200 cells) holds.
  const Bytes reply = Sysex(20000);
  PeerSendsSysex(reply);
  ASSERT_EQ(peer_.SendShort(0x4082), 0);  // note off, channel 3
  EXPECT_TRUE(driverIn_.WaitFor([&] { return !driverIn_.shorts.empty(); }));
  driver.StopInput(5);
  ASSERT_EQ(peer_.SendShort(0x4092), 0);
  std::this_thread::sleep_for(200ms);
  driver.CloseOutput(3);
  driver.CloseInput(5);
  std::lock_guard lock(driverIn_.mutex);
  EXPECT_EQ(driverIn_.sysex, reply);
  EXPECT_EQ(driverIn_.shorts, std::vector<uint32_t>{0x4082});  // nothing after StopInput
  EXPECT_EQ(driverIn_.reports.front(), "out3:0");
  EXPECT_EQ(driverIn_.reports.back(), "in5:1");
}

TEST_F(AlsaHardware, LostInputIsReportedAndInputGoesOnAfterIt) {
  AlsaMidiDriver driver(Recording());
  const int input = IndexOf(driver, false, peerName_);
  ASSERT_GE(input, 0);
  ASSERT_EQ(driver.OpenInput(input, 1), 0);
  driver.StartInput(1);
  // One event larger than the driver's whole kernel input pool cannot be taken in.
  const Bytes huge = Sysex(70000);
  peer_.SendSysex(huge.data(), huge.size());
  // The kernel tells of the loss at the next read, and empties the input then; this wakes it.
  ASSERT_EQ(peer_.SendShort(0xF8), 0);
  const auto overrun = [&] {
    return std::find(driverIn_.reports.begin(), driverIn_.reports.end(), "in1:4") !=
           driverIn_.reports.end();
  };
  EXPECT_TRUE(driverIn_.WaitFor(overrun));
  const Bytes next = Sysex(100);
  PeerSendsSysex(next);
  EXPECT_TRUE(driverIn_.WaitFor([&] { return driverIn_.sysex.size() >= next.size(); }));
  driver.CloseInput(1);
  std::lock_guard lock(driverIn_.mutex);
  EXPECT_EQ(driverIn_.sysex, next);
}

TEST_F(AlsaHardware, ADeviceIsFoundByNameAfterItsNumberChanged) {
  AlsaMidiDriver driver(Recording());
  const int output = IndexOf(driver, true, peerName_);
  ASSERT_GE(output, 0);
  const int oldClient = peer_.ClientId();
  peer_.Close();
  AlsaSequencer blocker;  // takes the old client number if it is free again
  ASSERT_EQ(blocker.Open("KelvoraBlocker"), 0);
  AlsaSequencer replugged;
  ASSERT_EQ(OpenPeer(replugged), 0);
  EXPECT_NE(replugged.ClientId(), oldClient);
  ASSERT_EQ(driver.OpenOutput(output, 0), 0);
  const Bytes message = Sysex(10);
  driver.SendLong(0, message.data(), message.size());
  EXPECT_TRUE(peerIn_.WaitFor([&] { return peerIn_.sysex.size() == message.size(); }));
  driver.CloseOutput(0);
  replugged.Close();
}

// A device unplugged and plugged in again while it is open comes back under a new client
// number: the open output and input follow it by its name.
TEST_F(AlsaHardware, AnOpenDeviceThatComesBackUnderANewNumberIsFollowedByName) {
  AlsaMidiDriver driver(Recording());
  const int output = IndexOf(driver, true, peerName_);
  const int input = IndexOf(driver, false, peerName_);
  ASSERT_GE(output, 0);
  ASSERT_GE(input, 0);
  ASSERT_EQ(driver.OpenOutput(output, 0), 0);
  ASSERT_EQ(driver.OpenInput(input, 1), 0);
  driver.StartInput(1);
  const int oldClient = peer_.ClientId();
  peer_.Close();
  AlsaSequencer blocker;  // takes the old client number if it is free again
  ASSERT_EQ(blocker.Open("KelvoraBlocker"), 0);
  AlsaSequencer replugged;
  ASSERT_EQ(OpenPeer(replugged), 0);
  ASSERT_NE(replugged.ClientId(), oldClient);

  const Bytes message = Sysex(300);  // two events
  driver.SendLong(0, message.data(), message.size());
  EXPECT_TRUE(peerIn_.WaitFor([&] { return peerIn_.sysex.size() == message.size(); }));
  EXPECT_TRUE(driverIn_.WaitFor([&] { return driverIn_.reports.size() == 3; }));  // done
  // The input takes up the device once the kernel has announced its port.
  const Bytes reply = Sysex(20);
  for (int attempt = 0; attempt < 50 && driverIn_.sysex.empty(); ++attempt) {
    PeerSendsSysexFrom(replugged, reply);
    driverIn_.WaitFor([&] { return !driverIn_.sysex.empty(); }, 100ms);
  }
  driver.CloseOutput(0);
  driver.CloseInput(1);
  replugged.Close();
  std::lock_guard lock(driverIn_.mutex);
  ASSERT_GE(driverIn_.sysex.size(), reply.size());
  EXPECT_EQ(Bytes(driverIn_.sysex.begin(), driverIn_.sysex.begin() + reply.size()), reply);
  EXPECT_EQ(peerIn_.sysex, message);
}

// Other tests may add and remove clients meanwhile: only names are compared, never counts.
TEST_F(AlsaHardware, AClientThatAppearsAfterStartIsListedOnTheNextQueryWithoutTrailingBlanks) {
  AlsaMidiDriver driver(Recording());
  const std::string late = "KelvoraLate:Late";
  ASSERT_LT(IndexOf(driver, true, late), 0);
  Inbox arrived;
  AlsaSequencer plugged;  // after the inbox its thread writes into
  ASSERT_EQ(plugged.Open("KelvoraLate"), 0);
  // Padded as the kernel's own clients pad theirs.
  ASSERT_EQ(plugged.CreatePort("Late        ", AlsaSequencer::kDuplexCaps), 0);
  ASSERT_EQ(plugged.StartInput({[&](const uint8_t* data, size_t length) {
                                  arrived.Add([&] {
                                    arrived.sysex.insert(arrived.sysex.end(), data, data + length);
                                  });
                                },
                                nullptr, nullptr}),
            0);
  const int output = IndexOf(driver, true, late);
  ASSERT_GE(output, 0);
  EXPECT_GE(IndexOf(driver, false, late), 0);
  ASSERT_EQ(driver.OpenOutput(output, 2), 0);
  const Bytes message = Sysex(40);
  driver.SendLong(2, message.data(), message.size());
  EXPECT_TRUE(arrived.WaitFor([&] { return arrived.sysex.size() == message.size(); }));
  driver.CloseOutput(2);
  plugged.Close();
  std::lock_guard lock(arrived.mutex);
  EXPECT_EQ(arrived.sysex, message);
}

}  // namespace
}  // namespace kelvora::midi
