#include <cstdint>
#include <string>

#include "diagnostics/Debugdevice.h"
#include "midi/Clock.h"
#include "midi/Midiin.h"
#include "protocol/Eps.h"
#include "protocol/EpsWaitCursor.h"

namespace kelvora::protocol {

using diagnostics::DebugLine;
using diagnostics::DebugWrite;

namespace {

// Response codes the sampler sends.
enum ResponseCode {
  kCodeAck = 0,
  kCodeWait = 1,
  kCodeNoInstrument = 5,
  kCodeNoLayer = 6,
  kCodeInvalidWs = 8,
  kCodeBadRange = 10,
  kCodeIsCopy = 17,
  kCodeSlowDown = 20,
  kCodeNak = 23,
};

bool IsNoAnswer(int result) { return result == prNothing || result == prNothingAfterWait; }

}  // namespace

int TEps::ProcessInput() {
  DebugWrite("Proc.Inp ");
  bool waitSeen = false;
  MessageReader reader(input_, Channel());
  for (;;) {
    DebugWrite("(");
    if (!reader.Header()) {
      DebugLine("nothing...");
      return waitSeen ? prNothingAfterWait : prNothing;
    }
    lastHeard_ = midi::TickCount();
    DebugWrite("p) ");
    if (DownloadState == dsReadData) return ReadDownloadData(reader);
    const int result = DispatchMessage(reader);
    if (result != kReadNext) return result;
    waitSeen = true;
  }
}

int TEps::DispatchMessage(MessageReader& reader) {
  uint8_t type = 0;
  if (!reader.Byte(type)) return prError;
  switch (type) {
    case kResponse:
      return ReadResponse(reader);
    case kOverviewHeader:
      return ReadOverviewHeader(reader);
    case kPutWsData:
      DebugWrite("WaveSample Data -> ");
      return DownloadState == dsReadHeader ? ReadDownloadHeader(reader) : ReadWsDataHeader(reader);
    case kPutWsParams:
      DebugWrite("WaveSample Pars -> ");
      return ReadRecordHeader(reader, kCompareWaveSample, WsParams, kWsParamWords, prWsParams);
    case kPutInstrumentParams:
      DebugWrite("Instrument parameters -> ");
      return ReadInstrumentRecord(reader);
    case kPutLayerParams:
      DebugWrite("Layer parameters -> ");
      return ReadRecordHeader(reader, kCompareLayer, LayerParams, kLayerParamWords, prLayerParams);
    default:
      DebugLine("Unknown EPS data");
      return prError;
  }
}

// 01 00 code F7. The reading stops at the first byte that does not fit, leaving it in the
// ring: a response cut short then costs only itself, not the message that follows it.
int TEps::ReadResponse(MessageReader& reader) {
  DebugWrite("Response : ");
  uint8_t code = 0;
  if (!reader.Accept(0x00) || !reader.AcceptData(code) || !reader.Accept(kSysexEnd)) {
    DebugLine("cut short");
    return prError;
  }
  DebugLine(std::to_string(code));
  lastResponseCode_ = code;
  return ResultOfCode(code);
}

int TEps::ResultOfCode(int code) {
  switch (code) {
    case kCodeAck:
      return prAck;
    case kCodeWait:
      return kReadNext;
    case kCodeNoInstrument:
      return prNoInstrument;
    case kCodeNoLayer:
      return prNoLayer;
    case kCodeInvalidWs:
      // The upload answers it by creating the wavesample: no box then.
      if (UploadState == usIdle) ui_.ShowInvalidWaveSample();
      return prInvalidWs;
    case kCodeBadRange:
      return prError;
    case kCodeIsCopy:
      ui_.ShowWaveSampleIsCopy();
      return prError;
    case kCodeSlowDown:
      return prSlowDown;
    case kCodeNak:
      return prResponse23;
    default:
      DebugLine("unknown response");
      return prUnknownResponse;
  }
}

int TEps::ReadOverviewHeader(MessageReader& reader) {
  DebugWrite("WaveSample Overview -> ");
  bool matches = false;
  if (!ReadTarget(reader, kCompareWaveSample, nullptr, 4, matches) || !matches) return prError;
  return ReadAcknowledgedBlock(reader, Overview, kOverviewPoints, true, false) ? prOverview
                                                                               : prError;
}

// Outside a download the sampler's data header brings the 512 samples the view shows, or the
// range a ReadWsData asked for, which must be the range the header names.
int TEps::ReadWsDataHeader(MessageReader& reader) {
  bool matches = false;
  int range[4] = {0, 0, 0, 0};
  if (!ReadTarget(reader, kCompareWaveSample, range, 4, matches) || !matches) return prError;
  if (dataStart_ >= 0 && ((range[0] << 12 | range[1]) != dataStart_ ||
                          (range[2] << 12 | range[3]) != dataStart_ + dataCount_)) {
    DebugLine("Data for another range");
    return prError;
  }
  return ReadAcknowledgedBlock(reader, dataWords_, dataCount_, true, false) ? prData : prError;
}

// The header of a download block: its range sizes the data message that follows the
// acknowledge, so a range that does not fit SampleBuffer is refused before the sampler sends it.
int TEps::ReadDownloadHeader(MessageReader& reader) {
  bool matches = false;
  int range[4] = {0, 0, 0, 0};
  if (!ReadTarget(reader, kCompareWaveSample, range, 4, matches) || !matches) return prError;
  DataStart = (range[0] << 12) | range[1];
  DataEnd = (range[2] << 12) | range[3];
  if (!BlockFits()) return prError;
  DebugLine("Sending ack");
  SendAck();
  return prDataHeader;
}

int TEps::ReadRecordHeader(MessageReader& reader, int compare, int* record, int words, int result) {
  bool matches = false;
  if (!ReadTarget(reader, compare, nullptr, 0, matches) || !matches) return prError;
  return ReadAcknowledgedBlock(reader, record, words, false, true) ? result : prError;
}

// Every instrument record tells the model in its ID word.
int TEps::ReadInstrumentRecord(MessageReader& reader) {
  const int result = ReadRecordHeader(reader, 0, InstrParams, kInstrParamWords, prInstrumentParams);
  if (result == prInstrumentParams) kind_ = KindOfInstrumentId(InstrParams[kInstrIdWord]);
  return result;
}

// A header's target words are read to the header's F7 before they are compared, so a header for
// another object leaves nothing of itself in the ring.
bool TEps::ReadTarget(MessageReader& reader, int compare, int* extra, int extraWords,
                      bool& matches) {
  int target[3] = {0, 0, 0};
  for (int& word : target) {
    if (!reader.Word12(word)) return false;
  }
  for (int i = 0; i < extraWords; ++i) {
    int word = 0;
    if (!reader.Word12(word)) return false;
    if (extra) extra[i] = word;
  }
  if (!reader.End()) return false;
  matches = target[0] == Instrument && (!(compare & kCompareLayer) || target[1] == Layer) &&
            (!(compare & kCompareWaveSample) || target[2] == WaveSample);
  return true;
}

bool TEps::ReadAcknowledgedBlock(MessageReader& reader, int* words, int count, bool signExtend,
                                 bool logStop) {
  DebugWrite("Ack -> ");
  SendAck();
  if (!reader.Header()) return false;
  for (int i = 0; i < count; ++i) {
    if (!reader.Word16(words[i])) {
      if (logStop) DebugLine("Stopped at : " + std::to_string(i));
      return false;
    }
    if (signExtend) words[i] = static_cast<int16_t>(words[i] & 0xFFFF);
  }
  if (!reader.End()) return false;
  DebugLine("Done.");
  return true;
}

bool TEps::BlockFits() const {
  const int64_t count = int64_t{DataEnd} - DataStart;
  if (count >= 0 && count <= kSampleBufferWords) return true;
  DebugLine("Block does not fit the buffer : " + std::to_string(count));
  return false;
}

// The data message of a download block: no type byte, DataEnd - DataStart words kept as their
// 16 bits (no sign extension), then F7.
int TEps::ReadDownloadData(MessageReader& reader) {
  DebugWrite("Reading download data.. ");
  DebugLine(std::to_string(MidiIn->BytesAvailable()));
  DebugLine(std::to_string(DataStart));
  DebugLine(std::to_string(DataEnd));
  DebugLine(std::to_string(int64_t{DataEnd} - DataStart));
  if (!BlockFits()) return prError;
  const int count = DataEnd - DataStart;
  for (int i = 0; i < count; ++i) {
    if (!reader.Word16(SampleBuffer[i])) {
      DebugLine("stopped at :" + std::to_string(i));
      return prError;
    }
  }
  uint8_t end = 0;
  if (!reader.Byte(end)) return prError;
  if (end != kSysexEnd) {
    DebugLine("No EOX :" + std::to_string(end));
    return prError;
  }
  DebugLine("Ok");
  return prData;
}

// Each ProcessInput on a silent sampler costs the port's 10 s byte wait; the wait as a whole
// ends once no message has arrived for kSilenceLimitMs, while WAIT responses keep it alive.
int TEps::WaitResult() {
  const EpsWaitCursor wait(ui_);
  lastHeard_ = midi::TickCount();
  int result = ProcessInput();
  while (IsNoAnswer(result) && midi::TickCount() - lastHeard_ < kSilenceLimitMs) {
    result = ProcessInput();
  }
  if (IsNoAnswer(result)) DebugLine("No answer within 30 s");
  return result;
}

}  // namespace kelvora::protocol
