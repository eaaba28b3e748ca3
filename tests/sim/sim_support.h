#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

#include "protocol/Sysex.h"
#include "sim/SamplerEngine.h"
#include "sim/SamplerLog.h"
#include "sim/SamplerMemory.h"
#include "sim/SimOptions.h"
#include "sim/SimTime.h"
#include "support/FakeClock.h"

namespace kelvora::sim::test {

using Bytes = std::vector<uint8_t>;
using protocol::ByteSink;
using protocol::Target;

// A sampler engine driven at byte level, as the host would drive it, with a clock the test
// moves by hand.
class EngineHarness {
 public:
  explicit EngineHarness(SimOptions options = {}, bool demo = false);

  // Feeds what `build` writes (one of the codec's Send* functions) as the host's bytes.
  void Host(const std::function<void(ByteSink&)>& build);
  void HostAck() {
    Host([&](ByteSink& s) { protocol::SendAcknowledge(s, options.channel); });
  }
  void HostBytes(const Bytes& bytes) { engine.Feed(bytes.data(), bytes.size()); }
  // Everything the sampler sent since the last call, one entry per message.
  std::vector<Bytes> Take();
  // The statuses of the responses sent since the last call (-1 for any other message).
  std::vector<int> Statuses();

  // Runs a GET to its end (ACKing the header) and returns the data message's words.
  std::vector<int> Get(const std::function<void(ByteSink&)>& build);
  // Runs a two-part PUT with these words; returns the statuses of both answers.
  std::vector<int> Put(const std::function<void(ByteSink&)>& build, const std::vector<int>& words);

  SimOptions options;
  SamplerMemory memory;
  SamplerLog log;
  uint32_t now = 0;
  SamplerEngine engine;

 private:
  std::vector<Bytes> sent_;
};

// Status of a response message; -1 when the message is not one.
int StatusOf(const Bytes& message, int channel = 1);
// The W16 words of a data message, or of the header's W12 words with twelve = true.
std::vector<int> WordsOf(const Bytes& message, size_t skip, size_t count, bool twelve);
std::vector<int> DataWords(const Bytes& message);
std::vector<int> Samples(const WaveData& data, size_t start, size_t end);

// A wavesample record from the default one, with these positions.
WsRecord Record(int start, int end, int loopStart = 0, int loopEnd = 0);
// Instrument i with layer 0 and wavesample w holding `data`.
void AddWaveSample(SamplerMemory& memory, int i, int w, WaveData data, int layer = 0);

// Virtual microseconds: sleeps advance time at once. With a MIDI clock attached, that clock
// (which the sampler's protocol timer reads) moves along in whole milliseconds.
class FakeSimTime : public SimTime {
 public:
  int64_t NowUs() override;
  void SleepUntilUs(int64_t deadline) override;
  void Interrupt() override {}
  void Attach(testing::FakeClock* clock) { clock_ = clock; }

 private:
  std::mutex mutex_;
  int64_t now_ = 0;
  testing::FakeClock* clock_ = nullptr;
};

}  // namespace kelvora::sim::test
