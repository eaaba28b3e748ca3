#include "batch/SamplerCommands.h"

#include "batch/StatusText.h"

#include "midi/Clock.h"
#include "protocol/ProcessResult.h"

namespace kelvora::batch {

using namespace protocol;

namespace {

constexpr int kLowKeyParameter = 2059;  // wavesample page 8, item 11
constexpr int kHighKeyParameter = 2060;
constexpr uint32_t kUnansweredPauseMs = 2000;

std::string TargetText(const Target& t) {
  return "instrument " + std::to_string(t.instrument + 1) + ", layer " +
         std::to_string(t.layer + 1) + ", wavesample " + std::to_string(t.waveSample);
}

}  // namespace

SamplerCommands::SamplerCommands(TEps& eps) : eps_(eps), sink_(eps.MidiOut) {}

void SamplerCommands::SendCommand(uint8_t type, const Target& t) {
  MessageWriter writer(sink_, eps_.Channel());
  writer.Header();
  writer.Byte(type);
  writer.Word12(t.instrument);
  writer.Word12(t.layer);
  writer.Word12(t.waveSample);
  writer.End();
}

bool SamplerCommands::CreateInstrument(int instrument) {
  SendCreateInstrument(sink_, eps_.Channel(), instrument);
  return Expect("create instrument " + std::to_string(instrument + 1), eps_.WaitResult());
}

// The layer is named on the wire (the session's own create always names layer 1).
bool SamplerCommands::CreateLayer(const Target& t) {
  SendCommand(kCreateLayer, t);
  return Expect("create layer " + std::to_string(t.layer + 1) + " of instrument " +
                    std::to_string(t.instrument + 1),
                eps_.WaitResult());
}

bool SamplerCommands::CreateWaveSample(const Target& t) {
  SendCreateWaveSample(sink_, eps_.Channel(), t);
  return Expect("create " + TargetText(t), eps_.WaitResult());
}

bool SamplerCommands::DeleteWaveSample(const Target& t) {
  SendDeleteWaveSample(sink_, eps_.Channel(), t);
  return Expect("delete " + TargetText(t), eps_.WaitResult());
}

bool SamplerCommands::CopyData(const Target& source, const Target& destination, int end) {
  SendCopyData(sink_, eps_.Channel(), source, destination, 0, end, 0);
  return Expect("copy the data of wavesample " + std::to_string(source.waveSample) + " to " +
                    TargetText(destination),
                eps_.WaitResult());
}

bool SamplerCommands::PutInstrumentRecord(int instrument, const Record& record) {
  return PutBlock(kPutInstrumentParams, Target{instrument, 0, 1}, record,
                  "the record of instrument " + std::to_string(instrument + 1));
}

bool SamplerCommands::PutLayerRecord(int instrument, int layer, const Record& record) {
  return PutBlock(kPutLayerParams, Target{instrument, layer, 0}, record,
                  "the record of layer " + std::to_string(layer + 1) + " of instrument " +
                      std::to_string(instrument + 1));
}

bool SamplerCommands::PutWaveSampleRecord(const Target& t, const Record& record) {
  return PutBlock(kPutWsParams, t, record, "the record of " + TargetText(t));
}

// The command with its context, ACK, the record alone, ACK.
bool SamplerCommands::PutBlock(uint8_t type, const Target& t, const Record& record,
                               const std::string& what) {
  SendCommand(type, t);
  if (!Expect("take " + what, eps_.ProcessInput())) return false;
  eps_.SendDataMessage(record.data(), static_cast<int>(record.size()));
  return Expect("take " + what, eps_.ProcessInput());
}

void SamplerCommands::PutKeyRange(const Target& t, int low, int high) {
  const Target saved = eps_.CurrentTarget();
  eps_.Instrument = t.instrument;
  eps_.Layer = t.layer;
  eps_.WaveSample = t.waveSample;
  eps_.PutParameter(kLowKeyParameter, static_cast<unsigned>(low));
  midi::SleepMs(kUnansweredPauseMs);
  eps_.PutParameter(kHighKeyParameter, static_cast<unsigned>(high));
  midi::SleepMs(kUnansweredPauseMs);
  eps_.Instrument = saved.instrument;
  eps_.Layer = saved.layer;
  eps_.WaveSample = saved.waveSample;
}

bool SamplerCommands::Expect(const std::string& what, int result) {
  if (result == prAck) return true;
  if (result == prNothing || result == prNothingAfterWait) {
    failure_ = "The sampler did not answer when asked to " + what + ".";
  } else {
    failure_ = "The sampler refused to " + what + " (" + StatusText(eps_.LastResponseCode()) + ").";
  }
  return false;
}

}  // namespace kelvora::batch
