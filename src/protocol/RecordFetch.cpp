#include "protocol/RecordFetch.h"

#include <chrono>

#include "diagnostics/Debugdevice.h"
#include "midi/MidiActivity.h"
#include "midi/Midiin.h"
#include "protocol/Eps.h"

namespace kelvora::protocol {

namespace {

// F0 0F 03 ch 01 00 code F7.
constexpr unsigned kResponseBytes = 8;
// F0 0F 03 ch 0E, the target as three W12, F7.
constexpr unsigned kHeaderBytes = 12;
constexpr unsigned kRecordBytes = DataMessageSize(kWsRecordWords);
constexpr int kCodeAck = 0;
constexpr int kCodeWait = 1;

}  // namespace

RecordFetch::RecordFetch(TEps& eps) : eps_(eps) {}

void RecordFetch::Start(const Target& target) {
  target_ = target;
  EpsPortSink sink(eps_.MidiOut);
  SendGetWsParams(sink, eps_.Channel(), target);
  state_ = State::AwaitAck;
}

bool RecordFetch::Busy() const {
  return state_ == State::AwaitAck || state_ == State::AwaitHeader || state_ == State::AwaitRecord;
}

unsigned RecordFetch::BytesNeeded() const {
  switch (state_) {
    case State::AwaitAck:
      return kResponseBytes;
    case State::AwaitHeader:
      return kHeaderBytes;
    case State::AwaitRecord:
      return kRecordBytes;
    default:
      return 0;
  }
}

bool RecordFetch::Advance() {
  while (Busy() && eps_.MidiIn->BytesAvailable() >= BytesNeeded()) Step();
  return !Busy();
}

bool RecordFetch::Step() {
  switch (state_) {
    case State::AwaitAck:
      return ReadAck();
    case State::AwaitHeader:
      return ReadHeader();
    case State::AwaitRecord:
      return ReadRecord();
    default:
      return false;
  }
}

// The wait is on the wire's own time: the rest of one exchange, which the sampler is already
// sending, is worth waiting for in full.
void RecordFetch::Finish(uint32_t limitMs) {
  while (Busy()) {
    const uint64_t seen = midi::MidiActivity::Count();
    if (Advance()) return;
    if (!midi::MidiActivity::WaitReal(seen, std::chrono::milliseconds(limitMs))) {
      diagnostics::DebugLine("Record not complete");
      Abandon();
    }
  }
}

void RecordFetch::Abandon() {
  if (!Busy()) return;
  eps_.MidiIn->Flush();
  state_ = State::Failed;
}

void RecordFetch::Fail() {
  eps_.MidiIn->Flush();
  state_ = State::Failed;
}

// A WAIT keeps the exchange waiting for the real answer; anything but an ACK ends it.
bool RecordFetch::ReadAck() {
  EpsPortSource source(eps_.MidiIn);
  MessageReader reader(source, eps_.Channel());
  uint8_t type = 0;
  uint8_t code = 0;
  if (!reader.Header() || !reader.Byte(type) || type != kResponse || !reader.Accept(0x00) ||
      !reader.AcceptData(code) || !reader.Accept(kSysexEnd)) {
    Fail();
    return false;
  }
  if (code == kCodeWait) return true;
  if (code != kCodeAck) {
    state_ = State::Failed;
    return false;
  }
  state_ = State::AwaitHeader;
  return true;
}

bool RecordFetch::ReadHeader() {
  EpsPortSource source(eps_.MidiIn);
  MessageReader reader(source, eps_.Channel());
  uint8_t type = 0;
  int words[3] = {};
  if (!reader.Header() || !reader.Byte(type) || type != kPutWsParams || !reader.Word12(words[0]) ||
      !reader.Word12(words[1]) || !reader.Word12(words[2]) || !reader.End() ||
      words[0] != target_.instrument || words[2] != target_.waveSample) {
    Fail();
    return false;
  }
  eps_.SendAck();
  state_ = State::AwaitRecord;
  return true;
}

bool RecordFetch::ReadRecord() {
  EpsPortSource source(eps_.MidiIn);
  MessageReader reader(source, eps_.Channel());
  if (!reader.Header()) {
    Fail();
    return false;
  }
  for (int& word : record_) {
    if (!reader.Word16(word)) {
      Fail();
      return false;
    }
  }
  if (!reader.End()) {
    Fail();
    return false;
  }
  state_ = State::Done;
  return true;
}

}  // namespace kelvora::protocol
