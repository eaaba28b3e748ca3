#include "protocol/SessionFixture.h"

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "diagnostics/Debugdevice.h"
#include "midi/MidiSystem.h"
#include "midi/Midiin.h"
#include "midi/Midiout.h"
#include "protocol/Records.h"

namespace kelvora::testing {

namespace {

// Long enough for the sampler's thread to answer on a loaded machine; a real time-out costs it.
constexpr std::chrono::milliseconds kSettleTime{300};

}  // namespace

sim::SimOptions SessionFixture::Options() {
  sim::SimOptions options;
  options.demoContent = false;
  options.channel = Channel();
  return options;
}

void SessionFixture::SetUp() {
  clock.SetSettleTime(kSettleTime);
  midi::SetClock(&clock);
  driver = std::make_unique<sim::SimMidiDriver>(Options());
  midi::SetDriver(driver.get());
  eps = std::make_unique<protocol::TEps>(ui);
  eps->MidiIn->SetDeviceID(0);
  eps->MidiOut->SetDeviceID(0);
  eps->MidiOut->SetChannel(Channel());
}

void SessionFixture::TearDown() {
  eps.reset();
  midi::SetDriver(nullptr);
  driver.reset();
  midi::SetClock(nullptr);
}

bool SessionFixture::Connect() {
  const bool found = eps->OpenDevices();
  Settle();
  TakeSent();
  return found;
}

std::vector<uint8_t> SessionFixture::TakeSent() {
  const std::vector<uint8_t> all = driver->ReceivedFromProgram();
  std::vector<uint8_t> fresh(all.begin() + static_cast<std::ptrdiff_t>(sentSeen_), all.end());
  sentSeen_ = all.size();
  return fresh;
}

void SessionFixture::SendToProgram(const std::vector<uint8_t>& bytes) {
  driver->SendToProgram(bytes.data(), bytes.size());
  driver->WaitIdle();
}

void SessionFixture::SendFromProgram(const std::vector<uint8_t>& bytes) {
  for (uint8_t byte : bytes) eps->MidiOut->SendByte(byte);
}

std::vector<uint8_t> SessionFixture::Response(int code) const {
  return Bytes([&](protocol::ByteSink& s) { protocol::SendResponse(s, Channel(), code); });
}

void SessionFixture::Settle() {
  driver->WaitIdle();
  driver->Sampler().WaitIdle(std::chrono::seconds(5));
  driver->WaitIdle();
}

std::vector<int16_t> SessionFixture::SamplerData(int instrument, int waveSample) {
  Settle();
  return driver->Sampler().WithMemory([&](sim::SamplerMemory& memory) {
    const sim::WaveData* data = memory.Data(instrument, waveSample);
    return data ? *data : std::vector<int16_t>{};
  });
}

void SessionFixture::AddInstrument(int instrument, const std::string& name) {
  driver->Sampler().WithMemory(
      [&](sim::SamplerMemory& memory) { return memory.AddInstrument(instrument, name); });
}

void SessionFixture::AddLayer(int instrument, int layer) {
  driver->Sampler().WithMemory(
      [&](sim::SamplerMemory& memory) { return memory.AddLayer(instrument, layer, "LAYER"); });
}

void SessionFixture::AddWaveSample(int instrument, int layer, int waveSample, int samples,
                                   int end) {
  sim::WsRecord record{};
  protocol::ResetWsParams(record.data());
  protocol::SetPosition(record.data(), protocol::kWsSampleEnd, end);
  sim::WaveData data(static_cast<size_t>(samples));
  for (int i = 0; i < samples; ++i)
    data[static_cast<size_t>(i)] = static_cast<int16_t>(i * 97 - 20000);
  driver->Sampler().WithMemory([&](sim::SamplerMemory& memory) {
    return memory.AddWaveSample(instrument, layer, waveSample, record, std::move(data));
  });
}

}  // namespace kelvora::testing
