#include "sim/CommandExecutor.h"

#include <algorithm>

#include "sim/SamplerStatus.h"

namespace kelvora::sim {

namespace {

using namespace protocol;

constexpr int kSquareLevel = 16384;
constexpr int kPositionWords[] = {kWsSampleStart, kWsSampleEnd, kWsLoopStart, kWsLoopEnd};

// A position field as its raw 32-bit number (position x 512 plus a fraction).
int64_t RawPosition(const int* record, int index) {
  uint32_t raw = 0;
  for (int i = 0; i < 4; ++i) raw = (raw << 8) | ((record[index + i] >> 8) & 0xFF);
  return raw;
}

void SetRawPosition(int* record, int index, int64_t raw) {
  for (int i = 0; i < 4; ++i) {
    const int byte = static_cast<int>((raw >> (24 - 8 * i)) & 0xFF);
    record[index + i] = (byte << 8) | (record[index + i] & 0xFF);
  }
}

CommandOutcome Status(int status) { return {status, 0}; }

// [start, end) inside data of `size` samples.
bool RangeInside(int64_t start, int64_t end, size_t size) {
  return start >= 0 && start < end && end <= static_cast<int64_t>(size);
}

}  // namespace

CommandOutcome CommandExecutor::Execute(const Command& command) {
  const Target t = command.TargetAt();
  switch (command.type) {
    case kCreateInstrument:
      return Status(memory_.AddInstrument(t.instrument, "UNNAMED INST"));
    case kCreateLayer:
      return CreateLayer(command);
    case kDeleteLayer:
      return Status(memory_.RemoveLayer(t.instrument, t.layer));
    case kCreateWaveSample:
      return CreateWaveSample(command);
    case kDeleteWaveSample: {
      const int status = CheckWaveSample(t, false);
      return Status(status != kAck ? status : memory_.RemoveWaveSample(t.instrument, t.waveSample));
    }
    case kDeleteInstrument:
      return Status(memory_.RemoveInstrument(t.instrument));
    case kEndEdit:
      return Truncate(command);
    case kClearData:
      return Clear(command);
    case kCopyData:
      return CopyData(command);
    case kNormalizeGain:
      return Normalize(command);
    default:
      return InPlace(command);
  }
}

int CommandExecutor::CheckWaveSample(const Target& t, bool holdsData) const {
  if (!memory_.Instrument(t.instrument)) return kNoInstrument;
  const WaveSampleSlot* slot = memory_.WaveSample(t.instrument, t.waveSample);
  if (!slot) return memory_.Layer(t.instrument, t.layer) ? kNoWaveSample : kNoLayer;
  if (holdsData && slot->copyOf != 0) return kIsCopy;
  return kAck;
}

// The layer named if it is free, else the lowest free one (a host that always names layer 0
// still gets the next layer), with one new wavesample: the lowest free number.
CommandOutcome CommandExecutor::CreateLayer(const Command& command) {
  const Target t = command.TargetAt();
  if (!memory_.Instrument(t.instrument)) return Status(kNoInstrument);
  const bool namedFree = t.layer >= 0 && t.layer < kLayers && !memory_.Layer(t.instrument, t.layer);
  const int layer = namedFree ? t.layer : memory_.FirstFreeLayer(t.instrument);
  if (layer < 0) return Status(kNoMoreLayers);
  const int number = memory_.FirstFreeWaveSample(t.instrument);
  if (number < 0) return Status(kNoMoreWaveSamples);
  if (!memory_.Fits(kSquareCycle)) return Status(kMemoryFull);
  memory_.AddLayer(t.instrument, layer, "LAYER " + std::to_string(layer + 1));
  return Status(AddSquareWave(t.instrument, layer, number));
}

CommandOutcome CommandExecutor::CreateWaveSample(const Command& command) {
  const Target t = command.TargetAt();
  if (!memory_.Instrument(t.instrument)) return Status(kNoInstrument);
  if (!memory_.Layer(t.instrument, t.layer)) return Status(kNoLayer);
  if (t.waveSample < 1 || t.waveSample > kWaveSamples) return Status(kNoWaveSample);
  if (memory_.WaveSample(t.instrument, t.waveSample)) return Status(kWaveSampleInUse);
  return Status(AddSquareWave(t.instrument, t.layer, t.waveSample));
}

// One cycle of a square wave, looped, in the default record.
int CommandExecutor::AddSquareWave(int instrument, int layer, int waveSample) {
  WaveData data(kSquareCycle, kSquareLevel);
  std::fill(data.begin() + kSquareCycle / 2, data.end(), -kSquareLevel);
  WsRecord record;
  std::copy(kDefaultWsParams, kDefaultWsParams + kWsRecordWords, record.begin());
  SetPosition(record.data(), kWsSampleEnd, kSquareCycle);
  SetPosition(record.data(), kWsLoopEnd, kSquareCycle);
  record[kWsPlaybackMode] = kLoopForward;
  return memory_.AddWaveSample(instrument, layer, waveSample, record, std::move(data));
}

// Keeps [sample start, sample end) and moves every position of the wavesample and of the
// copies that share its data by the samples dropped in front.
CommandOutcome CommandExecutor::Truncate(const Command& command) {
  const Target t = command.TargetAt();
  if (const int status = CheckWaveSample(t, true); status != kAck) return Status(status);
  const int* record = memory_.WaveSample(t.instrument, t.waveSample)->record.data();
  WaveData& data = *memory_.EditableData(t.instrument, t.waveSample);
  const size_t before = data.size();
  const int64_t start = GetPosition(record, kWsSampleStart);
  const int64_t end = std::min<int64_t>(GetPosition(record, kWsSampleEnd), before);
  if (start > end) return Status(kBadDataRange);
  data.erase(data.begin() + end, data.end());
  data.erase(data.begin(), data.begin() + start);
  memory_.Resize(t.instrument, t.waveSample, data.size());
  ShiftPositions(t.instrument, t.waveSample, start, end - start);
  return {kAck, static_cast<int64_t>(before)};
}

void CommandExecutor::ShiftPositions(int instrument, int waveSample, int64_t delta, int64_t size) {
  for (int w = 1; w <= kWaveSamples; ++w) {
    const WaveSampleSlot* slot = memory_.WaveSample(instrument, w);
    if (!slot || (w != waveSample && slot->copyOf != waveSample)) continue;
    WsRecord record = slot->record;
    for (int index : kPositionWords) {
      const int64_t raw = RawPosition(record.data(), index) - delta * 512;
      SetRawPosition(record.data(), index, std::clamp<int64_t>(raw, 0, size * 512));
    }
    memory_.PutWsRecord(instrument, w, record.data());
  }
}

// The range may run past the data: the data grows with silence to its end.
CommandOutcome CommandExecutor::Clear(const Command& command) {
  const Target t = command.TargetAt();
  if (const int status = CheckWaveSample(t, true); status != kAck) return Status(status);
  const int64_t start = command.Word24(3);
  const int64_t end = command.Word24(5);
  if (start < 0 || start >= end) return Status(kBadDataRange);
  WaveData& data = *memory_.EditableData(t.instrument, t.waveSample);
  if (end > static_cast<int64_t>(data.size())) {
    if (const int status = memory_.Resize(t.instrument, t.waveSample, end); status != kAck) {
      return Status(status);
    }
  }
  edits_.Clear(data, start, end);
  return {kAck, end - start};
}

// The source may be a copy (its data is read); the destination must hold its data. The
// destination position may be the end of its data, which then grows to take the block.
CommandOutcome CommandExecutor::CopyData(const Command& command) {
  const Target source = command.TargetAt(0);
  const Target destination = command.TargetAt(3);
  if (const int status = CheckWaveSample(source, false); status != kAck) return Status(status);
  if (const int status = CheckWaveSample(destination, true); status != kAck) return Status(status);
  const WaveData& from = *memory_.Data(source.instrument, source.waveSample);
  WaveData& to = *memory_.EditableData(destination.instrument, destination.waveSample);
  const int64_t start = command.Word24(6);
  const int64_t end = command.Word24(8);
  const int64_t position = command.Word24(10);
  if (!RangeInside(start, end, from.size()) || position > static_cast<int64_t>(to.size())) {
    return Status(kBadDataRange);
  }
  const int64_t needed = position + end - start;
  if (needed > static_cast<int64_t>(to.size())) {
    const int status = memory_.Resize(destination.instrument, destination.waveSample, needed);
    if (status != kAck) return Status(status);
  }
  edits_.Copy(from, start, end, to, position);
  return {kAck, end - start};
}

CommandOutcome CommandExecutor::InPlace(const Command& command) {
  const Target t = command.TargetAt();
  if (const int status = CheckWaveSample(t, true); status != kAck) return Status(status);
  WaveData& data = *memory_.EditableData(t.instrument, t.waveSample);
  const int64_t start = command.Word24(3);
  const int64_t end = command.Word24(5);
  if (!RangeInside(start, end, data.size())) return Status(kBadDataRange);
  const int depth = command.type == kScaleData ? command.words[11] : command.words.back();
  if (command.type != kReverseData && depth > WaveEdits::kMaxDepth) {
    return Status(kBadParameterValue);
  }
  switch (command.type) {
    case kReverseData:
      edits_.Reverse(data, start, end);
      break;
    case kScaleData:
      edits_.Scale(data, start, end, command.Word24(7), command.Word24(9), depth);
      break;
    case kFadeIn:
      edits_.FadeIn(data, start, end, depth);
      break;
    default:
      edits_.FadeOut(data, start, end, depth);
      break;
  }
  return {kAck, end - start};
}

CommandOutcome CommandExecutor::Normalize(const Command& command) {
  const Target t = command.TargetAt();
  if (const int status = CheckWaveSample(t, true); status != kAck) return Status(status);
  WaveData& data = *memory_.EditableData(t.instrument, t.waveSample);
  edits_.Normalize(data);
  return {kAck, static_cast<int64_t>(data.size())};
}

}  // namespace kelvora::sim
