#include "sim_support.h"

#include <algorithm>
#include <utility>

#include "sim/DemoContent.h"

namespace kelvora::sim::test {

EngineHarness::EngineHarness(SimOptions opts, bool demo)
    : options(NormalizedOptions(opts)),
      memory(options.model, options.memoryWords),
      engine(
          memory, options, log,
          [this](SamplerEngine::Output out) { sent_.push_back(std::move(out.bytes)); },
          [this] { return now; }) {
  if (demo) LoadDemoContent(memory);
}

void EngineHarness::Host(const std::function<void(ByteSink&)>& build) {
  protocol::VectorSink sink;
  build(sink);
  HostBytes(sink.bytes);
}

std::vector<Bytes> EngineHarness::Take() { return std::exchange(sent_, {}); }

std::vector<int> EngineHarness::Statuses() {
  std::vector<int> statuses;
  for (const Bytes& message : Take()) statuses.push_back(StatusOf(message, options.channel));
  return statuses;
}

std::vector<int> EngineHarness::Get(const std::function<void(ByteSink&)>& build) {
  Host(build);
  std::vector<Bytes> first = Take();
  if (first.size() != 2 || StatusOf(first[0], options.channel) != 0) return {};
  HostAck();
  std::vector<Bytes> data = Take();
  return data.size() == 1 ? DataWords(data[0]) : std::vector<int>{};
}

std::vector<int> EngineHarness::Put(const std::function<void(ByteSink&)>& build,
                                    const std::vector<int>& words) {
  Host(build);
  std::vector<int> statuses = Statuses();
  if (statuses != std::vector<int>{0}) return statuses;
  Host([&](ByteSink& s) {
    protocol::SendDataMessage(s, options.channel, words.data(), words.size());
  });
  for (int status : Statuses()) statuses.push_back(status);
  return statuses;
}

int StatusOf(const Bytes& message, int channel) {
  const Bytes head = {0xF0, 0x0F, 0x03, static_cast<uint8_t>(channel - 1), 0x01};
  if (message.size() != 8 || !std::equal(head.begin(), head.end(), message.begin()) ||
      message[7] != 0xF7) {
    return -1;
  }
  return protocol::DecodeW12(&message[5]);
}

std::vector<int> WordsOf(const Bytes& message, size_t skip, size_t count, bool twelve) {
  std::vector<int> words;
  const size_t width = twelve ? 2 : 3;
  for (size_t i = 0; i < count && skip + (i + 1) * width < message.size(); ++i) {
    const uint8_t* at = &message[skip + i * width];
    words.push_back(twelve ? protocol::DecodeW12(at) : protocol::DecodeW16(at));
  }
  return words;
}

std::vector<int> DataWords(const Bytes& message) {
  if (message.size() < 5) return {};
  return WordsOf(message, 4, (message.size() - 5) / 3, false);
}

std::vector<int> Samples(const WaveData& data, size_t start, size_t end) {
  std::vector<int> words;
  for (size_t i = start; i < end; ++i) words.push_back(data[i] & 0xFFFF);
  return words;
}

WsRecord Record(int start, int end, int loopStart, int loopEnd) {
  WsRecord record;
  std::copy(protocol::kDefaultWsParams, protocol::kDefaultWsParams + protocol::kWsRecordWords,
            record.begin());
  protocol::SetPosition(record.data(), protocol::kWsSampleStart, start);
  protocol::SetPosition(record.data(), protocol::kWsSampleEnd, end);
  protocol::SetPosition(record.data(), protocol::kWsLoopStart, loopStart);
  protocol::SetPosition(record.data(), protocol::kWsLoopEnd, loopEnd);
  return record;
}

void AddWaveSample(SamplerMemory& memory, int i, int w, WaveData data, int layer) {
  if (!memory.Instrument(i)) memory.AddInstrument(i, "TEST");
  if (!memory.Layer(i, layer)) memory.AddLayer(i, layer, "LAYER");
  const int size = static_cast<int>(data.size());
  memory.AddWaveSample(i, layer, w, Record(0, size, 0, size), std::move(data));
}

int64_t FakeSimTime::NowUs() {
  std::lock_guard lock(mutex_);
  return now_;
}

void FakeSimTime::SleepUntilUs(int64_t deadline) {
  std::lock_guard lock(mutex_);
  const int64_t before = now_ / 1000;
  now_ = std::max(now_, deadline);
  if (clock_) clock_->Advance(static_cast<uint32_t>(now_ / 1000 - before));
}

}  // namespace kelvora::sim::test
