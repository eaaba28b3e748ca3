// Arbitrary bytes from a host into the simulated sampler (stream parser, command decoding, the
// executor and the GET/PUT exchanges) with a few small instruments of the demo's shapes loaded.
// Input: a byte choosing the MIDI channel, then pieces of [length, pause in 16 ms steps, bytes...].
// Afterwards the memory must be whole, every message sent well formed, and the sampler must still
// answer.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "FuzzCheck.h"
#include "SamplerConsistency.h"
#include "protocol/Records.h"
#include "protocol/Sysex.h"
#include "sim/SamplerEngine.h"
#include "sim/SimOptions.h"

namespace {

using namespace kelvora;
using fuzz::Require;

constexpr int64_t kFuzzMemoryWords = 64 * 1024;

sim::WsRecord Record(int samples) {
  sim::WsRecord record{};
  protocol::ResetWsParams(record.data());
  protocol::SetPosition(record.data(), protocol::kWsSampleEnd, samples);
  protocol::SetPosition(record.data(), protocol::kWsLoopEnd, samples);
  return record;
}

// Every wavesample starts as the head of one ramp, computed once: the content is rebuilt for
// each input and should cost little next to what the input does.
const sim::WaveData& Ramp() {
  static const sim::WaveData ramp = [] {
    sim::WaveData data(1500);
    for (size_t n = 0; n < data.size(); ++n) data[n] = static_cast<int16_t>(n * 41 - 9000);
    return data;
  }();
  return ramp;
}

void AddRamp(sim::SamplerMemory& memory, int i, int l, int w, int samples) {
  sim::WaveData data(Ramp().begin(), Ramp().begin() + samples);
  memory.AddWaveSample(i, l, w, Record(samples), std::move(data));
}

// The demo's shapes without synthesising its sounds: instrument 1 with two wavesamples and a
// parameters-only copy, instrument 2 with one, instrument 3 with two layers.
void LoadContent(sim::SamplerMemory& memory) {
  memory.AddInstrument(0, "SYNTH");
  memory.AddLayer(0, 0, "LAYER 1");
  AddRamp(memory, 0, 0, 1, 1500);
  AddRamp(memory, 0, 0, 2, 700);
  memory.AddParameterCopy(0, 0, 3, 1, Record(1500));
  memory.AddInstrument(1, "DRUMS");
  memory.AddLayer(1, 0, "LAYER 1");
  AddRamp(memory, 1, 0, 1, 900);
  memory.AddInstrument(2, "PAD");
  memory.AddLayer(2, 0, "LAYER 1");
  memory.AddLayer(2, 1, "LAYER 2");
  AddRamp(memory, 2, 0, 1, 600);
  AddRamp(memory, 2, 1, 2, 400);
}

void CheckMessage(const std::vector<uint8_t>& bytes) {
  Require(bytes.size() >= 2 && bytes.front() == 0xF0 && bytes.back() == 0xF7,
          "a message that is not one SysEx");
  for (size_t i = 1; i + 1 < bytes.size(); ++i)
    Require(bytes[i] < 0x80, "a status byte inside a message");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  sim::SimOptions options;
  options.channel = data[0] % 16 + 1;
  // A small memory: the parser and the executor take the same paths, "memory full" comes sooner,
  // and an input that grows a wavesample to the whole memory stays cheap to run.
  options.memoryWords = kFuzzMemoryWords;
  options = sim::NormalizedOptions(options);
  // Built afresh for every input: a copy of a prepared memory would share its sample data, and
  // one input's edits would reach the next.
  sim::SamplerMemory memory(options.model, options.memoryWords);
  LoadContent(memory);
  sim::SamplerLog log;
  uint32_t now = 1000;
  std::vector<std::vector<uint8_t>> sent;
  sim::SamplerEngine engine(
      memory, options, log,
      [&](sim::SamplerEngine::Output out) {
        CheckMessage(out.bytes);
        sent.push_back(std::move(out.bytes));
      },
      [&now] { return now; });
  size_t at = 1;
  while (at + 2 <= size) {
    const size_t length = std::min<size_t>(data[at], size - at - 2);
    now += 16u * data[at + 1];
    engine.Feed(data + at + 2, length);
    at += 2 + length;
  }
  fuzz::CheckSamplerMemory(memory);
  // Long enough for any exchange to be abandoned; then a probe must get an ACK.
  now += 60000;
  sent.clear();
  protocol::VectorSink probe;
  protocol::SendProbe(probe, options.channel);
  engine.Feed(probe.bytes.data(), probe.bytes.size());
  std::vector<uint8_t> ack;
  {
    protocol::VectorSink sink;
    protocol::SendAcknowledge(sink, options.channel);
    ack = sink.bytes;
  }
  Require(!sent.empty() && sent.back() == ack, "the sampler no longer answers a probe");
  return 0;
}
