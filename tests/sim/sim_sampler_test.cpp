#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <thread>

#include "midi/Midiin.h"
#include "midi/Midiout.h"
#include "sim/SamplerStatus.h"
#include "sim/SimMidiDriver.h"
#include "sim/SimulatedSampler.h"
#include "sim/WireTiming.h"
#include "sim_support.h"
#include "support/ScopedClock.h"
#include "support/ScopedDriver.h"

namespace kelvora::sim::test {
namespace {

using namespace protocol;
using namespace std::chrono_literals;

// What the sampler handed on, with the (virtual) time of each piece.
struct Received {
  int64_t atUs;
  Bytes bytes;
};

class SamplerThread : public ::testing::Test {
 protected:
  void Make(SimOptions options, SimTime* time = nullptr) {
    options.demoContent = true;
    sampler = std::make_unique<SimulatedSampler>(
        options,
        [this, time](const uint8_t* data, size_t size) {
          std::lock_guard lock(mutex);
          received.push_back({time ? time->NowUs() : 0, Bytes(data, data + size)});
        },
        time);
    sampler->Start();
  }
  void Send(const std::function<void(ByteSink&)>& build) {
    VectorSink sink;
    build(sink);
    sampler->Receive(sink.bytes.data(), sink.bytes.size());
    ASSERT_TRUE(sampler->WaitIdle(10s));
  }
  std::vector<Received> Take() {
    std::lock_guard lock(mutex);
    return std::exchange(received, {});
  }

  std::mutex mutex;
  std::vector<Received> received;
  FakeSimTime time;  // outlives the sampler
  std::unique_ptr<SimulatedSampler> sampler;
};

TEST_F(SamplerThread, AnswersFromItsOwnThreadInOrder) {
  Make({});
  VectorSink get;
  SendGetWsParams(get, 1, Target{0, 0, 1});
  sampler->Receive(get.bytes.data(), 5);  // in pieces, from another thread than the sampler's
  sampler->Receive(get.bytes.data() + 5, get.bytes.size() - 5);
  FaultPlan silent;
  silent.silentMessages = 1;
  sampler->SetFaults(silent);  // after the GET, before the ACK: the ACK is lost
  Send([](ByteSink& s) { SendAcknowledge(s, 1); });
  sampler->ReceiveShort(0x793C90);  // note on 60, velocity 121
  ASSERT_TRUE(sampler->WaitIdle(10s));
  std::vector<Received> sent = Take();
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(StatusOf(sent[0].bytes), kAck);
  EXPECT_EQ(sent[1].bytes[4], kPutWsParams);
  ASSERT_EQ(sampler->Log().Notes().size(), 1u);
  EXPECT_EQ(sampler->Log().Notes()[0].velocity, 121);
}

// Every time below follows from 320 µs a byte, the latencies and the order of the exchange.
TEST_F(SamplerThread, PacedTimesFollowTheWireArithmetic) {
  SimOptions options;
  options.paced = true;
  options.commandLatencyUs = 1000;
  options.sampleLatencyNs = 2000;
  Make(options, &time);

  Send([](ByteSink& s) { SendProbe(s, 1); });  // 8 bytes in, 8 out
  std::vector<Received> sent = Take();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].atUs, 8 * kByteTimeUs + 1000 + 8 * kByteTimeUs);

  const int64_t start = time.NowUs();
  Send([](ByteSink& s) { SendGetWsParams(s, 1, Target{0, 0, 1}); });  // 12 bytes in
  sent = Take();
  ASSERT_EQ(sent.size(), 2u);
  const int64_t ackAt = start + 12 * kByteTimeUs + 1000 + 8 * kByteTimeUs;
  EXPECT_EQ(sent[0].atUs, ackAt);
  EXPECT_EQ(sent[1].atUs, ackAt + 12 * kByteTimeUs);  // the header follows on the wire

  Send([](ByteSink& s) { SendAcknowledge(s, 1); });
  sent = Take();
  const int64_t ready = ackAt + 12 * kByteTimeUs + 8 * kByteTimeUs + 139 * 2;
  const size_t size = DataMessageSize(139);  // 422 bytes in pieces of 32
  ASSERT_EQ(sent.size(), (size + kPacedPieceBytes - 1) / kPacedPieceBytes);
  EXPECT_EQ(sent.front().atUs, ready + WireTimeUs(kPacedPieceBytes));
  EXPECT_EQ(sent.back().atUs, ready + WireTimeUs(size));
  Bytes whole;
  for (const Received& piece : sent) {
    whole.insert(whole.end(), piece.bytes.begin(), piece.bytes.end());
  }
  EXPECT_EQ(DataWords(whole).size(), 139u);
}

// A block of 10240 words takes 9.8 s on the wire: it is on time because it begins on time.
TEST_F(SamplerThread, APacedBlockLongerThanTheAckLimitIsTaken) {
  testing::FakeClock clock;
  testing::ScopedClock useClock(clock);
  time.Attach(&clock);
  SimOptions options;
  options.paced = true;
  Make(options, &time);
  const Target t{2, 0, 1};
  Send([&](ByteSink& s) { SendPutWsData(s, 1, t, 0, 10240); });
  ASSERT_EQ(Take().size(), 1u);
  const uint32_t before = clock.Now();
  Send([](ByteSink& s) {
    const std::vector<int> words(10240, 0x1234);
    SendDataMessage(s, 1, words.data(), words.size());
  });
  EXPECT_GE(clock.Now() - before, 9800u);
  Bytes answer;
  for (const Received& piece : Take()) {
    answer.insert(answer.end(), piece.bytes.begin(), piece.bytes.end());
  }
  EXPECT_EQ(StatusOf(answer), kAck);
  sampler.reset();
}

// A cable that hands the block on whole after its 9.8 s says when it began; dated by its end it
// would be late.
TEST_F(SamplerThread, AWholeBlockDatedByItsFirstByteIsOnTime) {
  testing::FakeClock clock;
  testing::ScopedClock useClock(clock);
  time.Attach(&clock);
  Make(SimOptions{}, &time);
  const Target t{2, 0, 1};
  VectorSink block;
  const std::vector<int> words(10240, 0x1234);
  SendDataMessage(block, 1, words.data(), words.size());
  for (bool dated : {true, false}) {
    Send([&](ByteSink& s) { SendPutWsData(s, 1, t, 0, 10240); });
    ASSERT_EQ(Take().size(), 1u);
    const uint32_t began = clock.Now();
    clock.Advance(9800);
    if (dated) {
      sampler->ReceiveStartedAt(block.bytes.data(), block.bytes.size(), began);
    } else {
      sampler->Receive(block.bytes.data(), block.bytes.size());
    }
    ASSERT_TRUE(sampler->WaitIdle(10s));
    const std::vector<Received> answer = Take();
    ASSERT_EQ(answer.size(), 1u);
    EXPECT_EQ(StatusOf(answer[0].bytes), dated ? kAck : kNak) << (dated ? "dated" : "undated");
  }
  sampler.reset();
}

TEST_F(SamplerThread, LongEditsSpreadTheirWaitsOverTheProcessingTime) {
  SimOptions options;
  options.commandLatencyUs = 500;
  options.sampleLatencyNs = 1000;  // 1 µs a sample
  Make(options, &time);
  sampler->WithMemory([](SamplerMemory& memory) { return memory.Resize(2, 1, 150000); });
  Send([](ByteSink& s) { SendClearData(s, 1, Target{2, 0, 1}, 0, 150000); });
  const std::vector<Received> sent = Take();
  ASSERT_EQ(sent.size(), 3u);
  EXPECT_EQ(sent[0].atUs, 65536);
  EXPECT_EQ(sent[1].atUs, 2 * 65536);
  EXPECT_EQ(sent[2].atUs, 150000 + 500);
  EXPECT_EQ(StatusOf(sent[2].bytes), kAck);
}

// A paced exchange on the real clock: it takes its 0.1 s and arrives whole.
TEST_F(SamplerThread, ARealPacedWireDeliversTheWholeBlock) {
  SimOptions options;
  options.paced = true;
  Make(options);
  Send([](ByteSink& s) { SendGetWsData(s, 1, Target{1, 0, 1}, 0, 100); });
  Send([](ByteSink& s) { SendAcknowledge(s, 1); });
  Bytes whole;
  for (const Received& piece : Take()) {
    whole.insert(whole.end(), piece.bytes.begin(), piece.bytes.end());
  }
  ASSERT_EQ(whole.size(), 8 + 20 + DataMessageSize(100));
  const Bytes data(whole.begin() + 28, whole.end());
  sampler->WithMemory([&](SamplerMemory& memory) {
    EXPECT_EQ(DataWords(data), Samples(*memory.Data(1, 1), 0, 100));
    return 0;
  });
}

TEST(SimMidiDriver, IsAMidiDeviceThatAnswersTheProgramsPorts) {
  SimMidiDriver driver;
  EXPECT_EQ(driver.InputName(0), "Simulated EPS-16 PLUS");
  EXPECT_EQ(driver.OutputName(0), "Simulated EPS-16 PLUS");
  SimOptions asr;
  asr.model = SamplerModel::Asr10;
  EXPECT_EQ(SimMidiDriver::DeviceName(asr.model), "Simulated ASR-10");

  {
    testing::ScopedDriver use(driver);
    midi::TMidiIn in;
    midi::TMidiOut out;
    ASSERT_TRUE(in.Open());
    ASSERT_TRUE(out.Open());
    VectorSink probe;
    SendProbe(probe, 1);
    for (uint8_t byte : probe.bytes) out.SendByte(byte);
    ASSERT_TRUE(in.WaitForBytes(8, 5000));
    Bytes answer(8);
    for (uint8_t& byte : answer) in.ReadByte(byte);
    EXPECT_EQ(StatusOf(answer), kAck);
    out.ProgramChange(2);
    out.NoteOn(64, 100);
    driver.WaitIdle();
    ASSERT_TRUE(driver.Sampler().WaitIdle(5s));
    EXPECT_EQ(driver.Sampler().Log().ProgramChanges(), std::vector<int>{2});
    ASSERT_EQ(driver.Sampler().Log().Notes().size(), 1u);
    EXPECT_EQ(driver.Sampler().Log().Notes()[0].key, 64);
    in.Close();
    out.Close();
  }
}

}  // namespace
}  // namespace kelvora::sim::test
