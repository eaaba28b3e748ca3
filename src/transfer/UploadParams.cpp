#include "transfer/UploadParams.h"

#include "diagnostics/Debugdevice.h"
#include "protocol/NameCodec.h"
#include "protocol/Records.h"

namespace kelvora::transfer {

using namespace protocol;

namespace {

constexpr int kHardLeft = -127;
constexpr int kHardRight = 127;

void ApplyMorlavine(int* record, int param) {
  diagnostics::DebugLine("Morlavine File");
  record[kWsWord82] = 0;
  record[kWsWord137] = 7 << 8;
  record[kWsWord134] = param << 8;
  record[kWsWord135] = 127 << 8;
}

void ApplyLoop(int* record, const SourceLoop& loop) {
  record[kWsPlaybackMode] = kLoopForward;
  SetPosition(record, kWsLoopStart, loop.start);
  SetPosition(record, kWsLoopEnd, loop.end);
  if (loop.morlavineParam) ApplyMorlavine(record, *loop.morlavineParam);
}

}  // namespace

void PrepareUploadParams(int* record, const UploadSource& source, const UploadChoices& choices) {
  ResetWsParams(record);
  const int frames = source.FrameCount();
  SetPosition(record, kWsSampleStart, 0);
  SetPosition(record, kWsSampleEnd, frames);
  SetPosition(record, kWsLoopStart, 0);
  SetPosition(record, kWsLoopEnd, frames);
  record[kWsRate] = source.RateWord();
  record[kWsRootKey] = choices.rootKey << 8;
  if (!choices.waveSampleName.empty()) EncodeName(record, choices.waveSampleName);
  if (choices.channelMode == fcLeft) SetChannelPosition(record, kHardLeft);
  if (choices.channelMode == fcRight) SetChannelPosition(record, kHardRight);
  if (const std::optional<SourceLoop> loop = source.Loop()) ApplyLoop(record, *loop);
}

}  // namespace kelvora::transfer
