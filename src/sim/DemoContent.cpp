#include "sim/DemoContent.h"

#include <cmath>
#include <cstdint>
#include <numbers>
#include <string>

#include "protocol/NameCodec.h"

namespace kelvora::sim {

namespace {

using namespace protocol;

constexpr int kRate = 44100;
constexpr double kLevel = 0.7 * 32767;

struct Voice {
  const char* name;
  int rootKey;
  int lowKey;
  int highKey;
  int mode = kForwardNoLoop;
  int loopStart = 0;
  int loopEnd = 0;  // 0: the end of the data
};

WsRecord MakeRecord(const Voice& voice, int size) {
  WsRecord record;
  std::copy(kDefaultWsParams, kDefaultWsParams + kWsRecordWords, record.begin());
  EncodeName(record.data(), voice.name);
  record[kWsRootKey] = voice.rootKey << 8;
  record[kWsLowKey] = voice.lowKey << 8;
  record[kWsHighKey] = voice.highKey << 8;
  record[kWsPlaybackMode] = voice.mode;
  record[kWsRate] = RateWordForSampleRate(kRate);
  SetPosition(record.data(), kWsSampleStart, 0);
  SetPosition(record.data(), kWsSampleEnd, size);
  SetPosition(record.data(), kWsLoopStart, voice.loopStart);
  SetPosition(record.data(), kWsLoopEnd, voice.loopEnd ? voice.loopEnd : size);
  return record;
}

// A sine of `period` samples, a whole number of cycles long so that it loops without a click.
WaveData Sine(int period, int cycles) {
  WaveData data(static_cast<size_t>(period) * cycles);
  for (size_t i = 0; i < data.size(); ++i) {
    data[i] = static_cast<int16_t>(kLevel * std::sin(2 * std::numbers::pi * i / period));
  }
  return data;
}

WaveData DecayingSaw(int period, int size) {
  WaveData data(size);
  for (int i = 0; i < size; ++i) {
    const double ramp = 2.0 * (i % period) / period - 1.0;
    data[i] = static_cast<int16_t>(kLevel * ramp * std::exp(-i / (0.15 * kRate)));
  }
  return data;
}

// White noise from a fixed linear congruential generator, so every run makes the same hit.
WaveData NoiseHit(int size) {
  WaveData data(size);
  uint32_t state = 12345;
  for (int i = 0; i < size; ++i) {
    state = state * 1664525u + 1013904223u;
    const double noise = static_cast<int32_t>(state) / 2147483648.0;
    data[i] = static_cast<int16_t>(kLevel * noise * std::exp(-i / (0.04 * kRate)));
  }
  return data;
}

// Three slightly detuned sines with a slow swell: the detuning makes the pad beat.
WaveData Pad(int size) {
  WaveData data(size);
  const double periods[] = {200.0, 199.2, 200.8};
  for (int i = 0; i < size; ++i) {
    double sum = 0;
    for (double period : periods) sum += std::sin(2 * std::numbers::pi * i / period);
    const double swell = std::min(1.0, i / (0.25 * kRate));
    data[i] = static_cast<int16_t>(kLevel / 3 * sum * swell);
  }
  return data;
}

void AddVoice(SamplerMemory& memory, int instrument, int layer, int number, const Voice& voice,
              WaveData data) {
  const int size = static_cast<int>(data.size());
  memory.AddWaveSample(instrument, layer, number, MakeRecord(voice, size), std::move(data));
}

void AddSynth(SamplerMemory& memory) {
  memory.AddInstrument(0, "DEMO SYNTH");
  memory.AddLayer(0, 0, "MAIN");
  AddVoice(memory, 0, 0, 1, {"SINE", 69, 21, 64, kLoopForward}, Sine(100, 44));
  AddVoice(memory, 0, 0, 2, {"DECAY SAW", 57, 65, 96}, DecayingSaw(200, kRate / 2));
  const Voice copy{"SINE COPY", 81, 97, 108, kLoopForward};
  memory.AddParameterCopy(0, 0, 3, 1, MakeRecord(copy, 4400));
}

void AddDrums(SamplerMemory& memory) {
  memory.AddInstrument(1, "DRUMS");
  memory.AddLayer(1, 0, "KIT");
  AddVoice(memory, 1, 0, 1, {"NOISE HIT", 60, 21, 108}, NoiseHit(kRate / 5));
}

void AddPad(SamplerMemory& memory) {
  memory.AddInstrument(2, "PAD 2 LAYERS");
  memory.AddLayer(2, 0, "PAD");
  memory.AddLayer(2, 1, "AIR");
  AddVoice(memory, 2, 0, 1, {"WARM PAD", 57, 21, 108, kLoopForward, kRate / 4, 0}, Pad(kRate));
  AddVoice(memory, 2, 1, 2, {"PAD SINE", 81, 21, 108, kLoopForward}, Sine(50, 176));
}

}  // namespace

void LoadDemoContent(SamplerMemory& memory) {
  AddSynth(memory);
  AddDrums(memory);
  AddPad(memory);
}

}  // namespace kelvora::sim
