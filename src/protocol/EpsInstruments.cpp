#include <string>

#include "diagnostics/Debugdevice.h"
#include "protocol/Eps.h"
#include "protocol/EpsWaitCursor.h"
#include "protocol/NameCodec.h"

namespace kelvora::protocol {

using diagnostics::DebugLine;
using diagnostics::DebugWrite;

namespace {

bool ValidInstrument(int instrument) { return instrument >= 0 && instrument < kInstruments; }
bool ValidWaveSample(int waveSample) { return waveSample >= 1 && waveSample <= kWaveSamples; }

}  // namespace

// The name is changed in the instrument record just read, which goes back whole.
bool TEps::RenameInstrument(int instrument, const std::string& name) {
  DebugLine("Start of rename");
  const EpsWaitCursor wait(ui_);
  const int savedInstrument = Instrument;
  bool done = false;
  if (FetchInstrumentParams(instrument)) {
    EncodeName(InstrParams, name);
    SendPutInstrumentParams(output_, Channel(), CurrentTarget());
    if (ProcessInput() == prAck) {
      SendDataMessage(InstrParams, kInstrParamWords);
      done = ProcessInput() == prAck;
    }
  }
  DebugLine(done ? "1" : "0");
  Instrument = savedInstrument;
  return done;
}

bool TEps::FetchInstrumentParams(int instrument) {
  Instrument = instrument;
  SendGetInstrumentParams(output_, Channel(), Instrument);
  return ProcessInput() == prAck && ProcessInput() == prInstrumentParams;
}

int TEps::DeleteInstrument(int instrument) {
  records_.ForgetInstrument(instrument);
  protocol::SendDeleteInstrument(output_, Channel(), instrument);
  return ProcessInput();
}

int TEps::DeleteLayer(int instrument, int layer) {
  records_.ForgetInstrument(instrument);
  protocol::SendDeleteLayer(output_, Channel(), instrument, layer);
  return ProcessInput();
}

// The sampler addresses a wavesample with its layer; without a known layer nothing is sent.
void TEps::DeleteWaveSample(int instrument, int waveSample) {
  if (!ValidInstrument(instrument) || !ValidWaveSample(waveSample)) return;
  const int layer = WsLayer[instrument][waveSample - 1];
  if (layer == -1) return;
  // Copies of a deleted wavesample go with it or change.
  records_.ForgetInstrument(instrument);
  DebugWrite("Deleting " + std::to_string(instrument) + std::to_string(layer) +
             std::to_string(waveSample));
  protocol::SendDeleteWaveSample(output_, Channel(), Target{instrument, layer, waveSample});
  ProcessInput();
}

}  // namespace kelvora::protocol
