#include "protocol/Eps.h"

#include <algorithm>
#include <iterator>

#include "diagnostics/Debugdevice.h"
#include "midi/Clock.h"
#include "midi/Midiin.h"
#include "midi/Midiout.h"
#include "protocol/Records.h"

namespace kelvora::protocol {

namespace {

constexpr int kNoteOnStatus = 0x90;
constexpr int kAuditionVelocity = 121;
// The sampler reads no answer to PutParameter; the pause keeps parameters from running together.
constexpr uint32_t kPutParameterPauseMs = 1;
constexpr uint32_t kOneSecondMs = 1000;

}  // namespace

TEps::TEps(SessionUi& ui, QObject* owner)
    : QObject(owner), ui_(ui), output_(MidiOut), input_(MidiIn) {
  ResetWsParams();
  std::fill(std::begin(InstrParams), std::end(InstrParams), 0);
  std::fill(std::begin(LayerParams), std::end(LayerParams), 0);
  std::fill(std::begin(Overview), std::end(Overview), 0);
  std::fill(std::begin(FullOverview), std::end(FullOverview), 0);
  std::fill(std::begin(SampleBuffer), std::end(SampleBuffer), 0);
  Reset();
  MidiIn = std::make_unique<midi::TMidiIn>();
  MidiIn->SetOnShortData([this](midi::TMidiIn& sender) { MidiShortData(sender); });
  MidiOut = std::make_unique<midi::TMidiOut>();
}

TEps::~TEps() = default;

int TEps::Channel() const { return MidiOut->Channel(); }

void TEps::ResetWsParams() { protocol::ResetWsParams(WsParams); }

void TEps::SendHeader() { MessageWriter(output_, Channel()).Header(); }
void TEps::SendWord12(int value) { MessageWriter(output_, Channel()).Word12(value); }
void TEps::SendWord16(int value) { MessageWriter(output_, Channel()).Word16(value); }
void TEps::SendWord24(int value) { MessageWriter(output_, Channel()).Word24(value); }
void TEps::SendAck() { SendAcknowledge(output_, Channel()); }

void TEps::SendGetWsData(int start, int end) {
  protocol::SendGetWsData(output_, Channel(), CurrentTarget(), start, end);
}

void TEps::SendPutWsData(int start, int end) {
  records_.ForgetInstrument(Instrument);
  protocol::SendPutWsData(output_, Channel(), CurrentTarget(), start, end);
}

void TEps::SendPutWsParams() {
  records_.ForgetInstrument(Instrument);
  protocol::SendPutWsParams(output_, Channel(), CurrentTarget());
}

void TEps::SendCreateInstrument() {
  records_.ForgetInstrument(Instrument);
  protocol::SendCreateInstrument(output_, Channel(), Instrument);
}

void TEps::SendCreateLayer() {
  records_.ForgetInstrument(Instrument);
  protocol::SendCreateLayer(output_, Channel(), Instrument);
}

void TEps::SendCreateWaveSample() {
  records_.ForgetInstrument(Instrument);
  protocol::SendCreateWaveSample(output_, Channel(), CurrentTarget());
}

void TEps::SendDataMessage(const int* words, int count) {
  protocol::SendDataMessage(output_, Channel(), words, static_cast<size_t>(std::max(count, 0)));
}

bool TEps::ReadHeader() { return MessageReader(input_, Channel()).Header(); }
bool TEps::ReadWord12(int& value) { return MessageReader(input_, Channel()).Word12(value); }
bool TEps::ReadWord16(int& value) { return MessageReader(input_, Channel()).Word16(value); }
bool TEps::ReadWord24(int& value) { return MessageReader(input_, Channel()).Word24(value); }

bool TEps::ExpectWord12(int expected) {
  return MessageReader(input_, Channel()).ExpectWord12(expected);
}

// Keys played on the sampler choose keys in the upload dialog while it is the active window.
void TEps::MidiShortData(midi::TMidiIn& sender) {
  while (sender.ShortsAvailable() > 0) {
    int status = 0;
    int key = 0;
    int velocity = 0;
    if (!sender.ReadShort(status, key, velocity)) return;
    if ((status & 0xF0) == kNoteOnStatus && velocity > 0 && ui_.UploadDialogActive()) {
      diagnostics::DebugWrite("@");
      ui_.KeyPlayed(key);
    }
  }
}

// Another program goes first, so the sampler sees a change even when the instrument is already
// the selected one.
void TEps::SelectInstrument() {
  MidiOut->ProgramChange(Instrument + 8);
  MidiOut->ProgramChange(Instrument);
  MidiOut->ProgramChange(Instrument);
}

void TEps::StartAudition() {
  SelectInstrument();
  MidiOut->NoteOn(AuditionKey(WsParams), kAuditionVelocity);
}

void TEps::StopAudition() { MidiOut->NoteOff(AuditionKey(WsParams)); }

void TEps::PutParameter(int number, unsigned value) {
  records_.Forget(Instrument, WaveSample);
  SendPutParameter(output_, Channel(), CurrentTarget(), number, value);
  midi::SleepMs(kPutParameterPauseMs);
}

void TEps::WaitOneSecond() { midi::SleepMs(kOneSecondMs); }

}  // namespace kelvora::protocol
