#include "transfer/UploadParams.h"

#include "diagnostics/Debugdevice.h"
#include "protocol/Records.h"

namespace kelvora::transfer {

using namespace protocol;

namespace {

constexpr int kHardLeft = -127;
constexpr int kHardRight = 127;

void ApplyMorlavine(int* record, const TRiffFile& file) {
  diagnostics::DebugLine("Morlavine File");
  record[kWsPlaybackMode] = kLoopForward;
  SetPosition(record, kWsLoopEnd, file.MorlavineLoopEnd);
  record[kWsWord82] = 0;
  record[kWsWord137] = 7 << 8;
  record[kWsWord134] = file.MorlavineParam << 8;
  record[kWsWord135] = 127 << 8;
}

}  // namespace

void PrepareUploadParams(int* record, const TRiffFile& file, const UploadChoices& choices) {
  ResetWsParams(record);
  SetPosition(record, kWsSampleStart, 0);
  SetPosition(record, kWsSampleEnd, file.FrameCount);
  SetPosition(record, kWsLoopStart, 0);
  SetPosition(record, kWsLoopEnd, file.FrameCount);
  record[kWsRate] = RateWordForSampleRate(file.SampleRate);
  record[kWsRootKey] = choices.rootKey << 8;
  if (choices.channelMode == fcLeft) SetChannelPosition(record, kHardLeft);
  if (choices.channelMode == fcRight) SetChannelPosition(record, kHardRight);
  if (file.IsMorlavine) ApplyMorlavine(record, file);
}

}  // namespace kelvora::transfer
