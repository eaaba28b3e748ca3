#include "support/SimSession.h"

#include "midi/Midiin.h"
#include "midi/Midiout.h"
#include "protocol/NameCodec.h"
#include "protocol/Records.h"

namespace kelvora::testing {

sim::SimOptions SimSession::EmptyOptions() {
  sim::SimOptions options;
  options.demoContent = false;
  options.channel = kChannel;
  return options;
}

sim::SimOptions SimSession::DemoOptions() {
  sim::SimOptions options = EmptyOptions();
  options.demoContent = true;
  return options;
}

SimSession::SimSession(const sim::SimOptions& options) { Start(options); }

SimSession::~SimSession() { Stop(); }

void SimSession::Start(const sim::SimOptions& options) {
  clock.SetSettleTime(kSettleTime);
  useClock_.emplace(clock);
  driver = MakeDriver(options);
  useDriver_.emplace(*driver);
  eps = std::make_unique<protocol::TEps>(ui);
  eps->MidiIn->SetDeviceID(0);
  eps->MidiOut->SetDeviceID(0);
  eps->MidiOut->SetChannel(Channel());
}

void SimSession::Stop() {
  eps.reset();  // closes the ports while their driver still exists
  useDriver_.reset();
  driver.reset();
  useClock_.reset();
}

std::unique_ptr<sim::SimMidiDriver> SimSession::MakeDriver(const sim::SimOptions& options) {
  return std::make_unique<sim::SimMidiDriver>(options);
}

bool SimSession::Connect() {
  const bool found = eps->OpenDevices();
  TakeSent();
  return found;
}

void SimSession::Settle() {
  driver->WaitIdle();
  driver->Sampler().WaitIdle(std::chrono::seconds(5));
  driver->WaitIdle();
}

std::vector<uint8_t> SimSession::TakeSent() {
  Settle();
  const std::vector<uint8_t> all = driver->ReceivedFromProgram();
  std::vector<uint8_t> fresh(all.begin() + static_cast<std::ptrdiff_t>(sentSeen_), all.end());
  sentSeen_ = all.size();
  return fresh;
}

void SimSession::SendToProgram(const std::vector<uint8_t>& bytes) {
  driver->SendToProgram(bytes.data(), bytes.size());
  driver->WaitIdle();
}

void SimSession::SendFromProgram(const std::vector<uint8_t>& bytes) {
  for (uint8_t byte : bytes) eps->MidiOut->SendByte(byte);
}

std::vector<uint8_t> SimSession::Response(int code) const {
  return Bytes([&](protocol::ByteSink& s) { protocol::SendResponse(s, Channel(), code); });
}

void SimSession::UseRealTime() { useClock_.reset(); }

template <class Action>
auto SimSession::WithMemory(Action action) {
  return driver->Sampler().WithMemory(action);
}

void SimSession::AddInstrument(int instrument, const std::string& name) {
  WithMemory([&](sim::SamplerMemory& memory) { return memory.AddInstrument(instrument, name); });
}

void SimSession::AddLayer(int instrument, int layer) {
  WithMemory(
      [&](sim::SamplerMemory& memory) { return memory.AddLayer(instrument, layer, "LAYER"); });
}

void SimSession::AddWaveSample(int instrument, int layer, int waveSample, int samples, int end) {
  sim::WsRecord record{};
  protocol::ResetWsParams(record.data());
  protocol::SetPosition(record.data(), protocol::kWsSampleEnd, end);
  sim::WaveData data(static_cast<size_t>(samples));
  for (int i = 0; i < samples; ++i)
    data[static_cast<size_t>(i)] = static_cast<int16_t>(i * 97 - 20000);
  WithMemory([&](sim::SamplerMemory& memory) {
    return memory.AddWaveSample(instrument, layer, waveSample, record, std::move(data));
  });
}

void SimSession::AddParameterCopy(int instrument, int layer, int waveSample, int source) {
  sim::WsRecord record{};
  protocol::ResetWsParams(record.data());
  WithMemory([&](sim::SamplerMemory& memory) {
    return memory.AddParameterCopy(instrument, layer, waveSample, source, record);
  });
}

void SimSession::SetWsWord(int instrument, int waveSample, int index, int value) {
  WithMemory([&](sim::SamplerMemory& memory) {
    memory.SetWsWord(instrument, waveSample, index, value);
    return 0;
  });
}

void SimSession::RemoveInstrument(int instrument) {
  WithMemory([&](sim::SamplerMemory& memory) { return memory.RemoveInstrument(instrument); });
}

std::vector<int16_t> SimSession::SamplerData(int instrument, int waveSample) {
  Settle();
  return WithMemory([&](sim::SamplerMemory& memory) {
    const sim::WaveData* data = memory.Data(instrument, waveSample);
    return data ? *data : std::vector<int16_t>{};
  });
}

std::string SimSession::InstrumentName(int instrument) {
  Settle();
  return WithMemory([&](sim::SamplerMemory& memory) {
    const sim::InstrumentSlot* slot = memory.Instrument(instrument);
    return slot ? protocol::DecodeName(slot->record.data()) : std::string();
  });
}

bool SimSession::HasWaveSample(int instrument, int waveSample) {
  Settle();
  return WithMemory([&](sim::SamplerMemory& memory) {
    return memory.WaveSample(instrument, waveSample) != nullptr;
  });
}

std::vector<sim::NoteEvent> SimSession::Notes() {
  Settle();
  return driver->Sampler().Log().Notes();
}

std::vector<int> SimSession::ProgramChanges() {
  Settle();
  return driver->Sampler().Log().ProgramChanges();
}

std::vector<sim::LoggedMessage> SimSession::Messages() {
  Settle();
  return driver->Sampler().Log().Messages();
}

void SimSession::ClearLog() {
  Settle();
  driver->Sampler().Log().Clear();
}

int SimSession::Open(int instrument, int waveSample) {
  eps->Instrument = instrument;
  eps->WaveSample = waveSample;
  const int result = eps->OpenWs(true);
  Settle();
  return result;
}

}  // namespace kelvora::testing
