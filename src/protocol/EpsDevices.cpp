#include <string>

#include "diagnostics/Debugdevice.h"
#include "midi/Midiin.h"
#include "midi/Midiout.h"
#include "protocol/Eps.h"
#include "protocol/EpsWaitCursor.h"

namespace kelvora::protocol {

using diagnostics::DebugLine;
using diagnostics::DebugWrite;

namespace {

void ReportPortFailure(const char* what, int deviceId, int errorCode) {
  DebugLine(what);
  DebugLine("Device ID = " + std::to_string(deviceId));
  DebugLine("ErrorCode = " + std::to_string(errorCode));
}

}  // namespace

bool TEps::OpenDevices() {
  bool result = false;
  bool retry = false;
  do {
    const EpsWaitCursor wait(ui_);
    retry = false;
    result = TryOpenDevices(retry);
  } while (retry);
  return result;
}

// One attempt: both ports open (an open port stays as it is), then the probe. Any answer, even a
// refusal, shows that a sampler is listening.
bool TEps::TryOpenDevices(bool& retry) {
  if (!OpenPortsOrReport()) return false;
  MidiIn->Flush();
  SendProbe(output_, Channel(), kProbeButton);
  switch (ProcessInput()) {
    case prAck:
      return true;
    case prNothing:
      retry = ui_.ShowNoEps(nrNoAnswer) == mrRetry;
      return false;
    case prNothingAfterWait:
      retry = ui_.ShowNoEps(nrNoSystem) == mrRetry;
      return false;
    default:
      return true;
  }
}

bool TEps::OpenPortsOrReport() {
  MidiIn->Open();
  if (!MidiIn->IsOpen()) {
    ReportPortFailure("Unable to open MidiIn", MidiIn->DeviceID(), MidiIn->ErrorCode());
    ui_.ShowNoEps(nrMidiInFailed);
    return false;
  }
  MidiOut->Open();
  if (!MidiOut->IsOpen()) {
    ReportPortFailure("Unable to open MidiOut", MidiOut->DeviceID(), MidiOut->ErrorCode());
    ui_.ShowNoEps(nrMidiOutFailed);
    return false;
  }
  return true;
}

// The configuration is read fresh every time: all eight instrument records, and the layer
// records of instruments with several layers, which tell the layer of each wavesample.
bool TEps::ReadConfig() {
  const EpsWaitCursor wait(ui_);
  const int savedInstrument = Instrument;
  const int savedLayer = Layer;
  DebugWrite("## READ CFG ##  Queue=");
  DebugLine(std::to_string(MidiIn->BytesAvailable()));
  Reset();
  // A sampler with no instrument loaded does not tell its model.
  kind_ = SamplerKind::Unknown;
  try {
    for (int i = 0; i < kInstruments; ++i) ReadInstrumentConfig(i);
  } catch (...) {
    // A port failure half-way must not move the user's choice to the instrument being read.
    Instrument = savedInstrument;
    Layer = savedLayer;
    throw;
  }
  Instrument = savedInstrument;
  Layer = savedLayer;
  records_.KeepListed(*this);
  return true;
}

void TEps::ReadInstrumentConfig(int instrument) {
  Instrument = instrument;
  SendGetInstrumentParams(output_, Channel(), instrument);
  if (ProcessInput() != prAck || ProcessInput() != prInstrumentParams) {
    MarkNotAnswering(*this, instrument);
    return;
  }
  const int layersInUse = DeriveInstrument(*this, instrument, InstrParams, nullptr);
  DebugLine("[" + InstrName[instrument] + "]");
  int lastLayer = -1;
  for (int n = 0; n < kLayers; ++n) {
    if (!LayerInUse[instrument][n]) continue;
    DebugLine("Layer in use :" + std::to_string(n));
    lastLayer = n;
  }
  if (layersInUse <= 1) {
    ApplySingleLayer(*this, instrument, lastLayer);
    return;
  }
  for (int n = 0; n < kLayers; ++n) {
    if (!LayerInUse[instrument][n]) continue;
    DebugLine("Requesting Layer Data");
    Layer = n;
    SendGetLayerParams(output_, Channel(), instrument, n);
    if (ProcessInput() == prAck && ProcessInput() == prLayerParams) {
      ApplyLayerRecord(*this, instrument, n, LayerParams);
    }
  }
}

}  // namespace kelvora::protocol
