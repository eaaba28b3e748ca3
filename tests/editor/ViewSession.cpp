#include "editor/ViewSession.h"

#include <chrono>

#include "midi/MidiSystem.h"
#include "midi/Midiin.h"
#include "midi/Midiout.h"
#include "protocol/NameCodec.h"
#include "protocol/Records.h"

namespace kelvora::testing {

namespace {

// Long enough for the sampler's thread to answer on a loaded machine; a real time-out costs it.
constexpr std::chrono::milliseconds kSettleTime{100};
constexpr int kChannel = 1;

sim::SimOptions Options(bool demoContent) {
  sim::SimOptions options;
  options.demoContent = demoContent;
  options.channel = kChannel;
  return options;
}

}  // namespace

ViewSession::ViewSession(bool demoContent) {
  clock.SetSettleTime(kSettleTime);
  midi::SetClock(&clock);
  driver = std::make_unique<sim::SimMidiDriver>(Options(demoContent));
  midi::SetDriver(driver.get());
  eps = std::make_unique<protocol::TEps>(ui);
  eps->MidiIn->SetDeviceID(0);
  eps->MidiOut->SetDeviceID(0);
  eps->MidiOut->SetChannel(kChannel);
}

ViewSession::~ViewSession() {
  eps.reset();
  midi::SetDriver(nullptr);
  driver.reset();
  midi::SetClock(nullptr);
}

bool ViewSession::Connect() {
  const bool found = eps->OpenDevices();
  Settle();
  TakeSent();
  return found;
}

void ViewSession::Settle() {
  driver->WaitIdle();
  driver->Sampler().WaitIdle(std::chrono::seconds(5));
  driver->WaitIdle();
}

std::vector<uint8_t> ViewSession::TakeSent() {
  Settle();
  const std::vector<uint8_t> all = driver->ReceivedFromProgram();
  std::vector<uint8_t> fresh(all.begin() + static_cast<std::ptrdiff_t>(sentSeen_), all.end());
  sentSeen_ = all.size();
  return fresh;
}

void ViewSession::AddInstrument(int instrument, const std::string& name) {
  driver->Sampler().WithMemory(
      [&](sim::SamplerMemory& memory) { return memory.AddInstrument(instrument, name); });
}

void ViewSession::AddLayer(int instrument, int layer) {
  driver->Sampler().WithMemory(
      [&](sim::SamplerMemory& memory) { return memory.AddLayer(instrument, layer, "LAYER"); });
}

void ViewSession::AddWaveSample(int instrument, int layer, int waveSample, int samples, int end) {
  sim::WsRecord record{};
  protocol::ResetWsParams(record.data());
  protocol::SetPosition(record.data(), protocol::kWsSampleEnd, end);
  sim::WaveData data(static_cast<size_t>(samples));
  for (int i = 0; i < samples; ++i)
    data[static_cast<size_t>(i)] = static_cast<int16_t>((i % 200) * 150 - 15000);
  driver->Sampler().WithMemory([&](sim::SamplerMemory& memory) {
    return memory.AddWaveSample(instrument, layer, waveSample, record, std::move(data));
  });
}

void ViewSession::AddParameterCopy(int instrument, int layer, int waveSample, int source) {
  sim::WsRecord record{};
  protocol::ResetWsParams(record.data());
  driver->Sampler().WithMemory([&](sim::SamplerMemory& memory) {
    return memory.AddParameterCopy(instrument, layer, waveSample, source, record);
  });
}

void ViewSession::SetWsWord(int instrument, int waveSample, int index, int value) {
  driver->Sampler().WithMemory([&](sim::SamplerMemory& memory) {
    memory.SetWsWord(instrument, waveSample, index, value);
    return 0;
  });
}

void ViewSession::RemoveInstrument(int instrument) {
  driver->Sampler().WithMemory(
      [&](sim::SamplerMemory& memory) { return memory.RemoveInstrument(instrument); });
}

std::string ViewSession::InstrumentName(int instrument) {
  Settle();
  return driver->Sampler().WithMemory([&](sim::SamplerMemory& memory) {
    const sim::InstrumentSlot* slot = memory.Instrument(instrument);
    return slot ? protocol::DecodeName(slot->record.data()) : std::string();
  });
}

bool ViewSession::HasWaveSample(int instrument, int waveSample) {
  Settle();
  return driver->Sampler().WithMemory([&](sim::SamplerMemory& memory) {
    return memory.WaveSample(instrument, waveSample) != nullptr;
  });
}

int ViewSession::Open(int instrument, int waveSample) {
  eps->Instrument = instrument;
  eps->WaveSample = waveSample;
  const int result = eps->OpenWs(true);
  Settle();
  return result;
}

std::vector<sim::NoteEvent> ViewSession::Notes() {
  Settle();
  return driver->Sampler().Log().Notes();
}

std::vector<int> ViewSession::ProgramChanges() {
  Settle();
  return driver->Sampler().Log().ProgramChanges();
}

std::vector<sim::LoggedMessage> ViewSession::Messages() {
  Settle();
  return driver->Sampler().Log().Messages();
}

void ViewSession::ClearLog() {
  Settle();
  driver->Sampler().Log().Clear();
}

}  // namespace kelvora::testing
