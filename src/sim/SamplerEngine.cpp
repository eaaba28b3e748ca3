#include "sim/SamplerEngine.h"

#include <algorithm>
#include <utility>

#include "midi/Clock.h"
#include "sim/OverviewSections.h"
#include "sim/SamplerStatus.h"

namespace kelvora::sim {

namespace {

using namespace protocol;

constexpr size_t kMaxIncomingSysex = DataMessageSize(SamplerEngine::kMaxBlockWords);
constexpr int kLowKeyParameter = 2059;   // wavesample page 8, item 11
constexpr int kHighKeyParameter = 2060;  // wavesample page 8, item 12

std::vector<int> RecordWords(const int* record, int count) {
  return std::vector<int>(record, record + count);
}

}  // namespace

SamplerEngine::SamplerEngine(SamplerMemory& memory, const SimOptions& options, SamplerLog& log,
                             OutputHandler output, TickSource tick)
    : memory_(memory),
      options_(options),
      log_(log),
      output_(std::move(output)),
      tick_(tick ? std::move(tick) : TickSource(&midi::TickCount)),
      executor_(memory),
      parser_(
          kMaxIncomingSysex,
          [this](const uint8_t* message, size_t size) { HandleSysex(message, size); },
          [this](uint8_t status, uint8_t d1, uint8_t d2) {
            HandleChannelMessage(status, d1, d2);
          }) {}

// A message is on time when it starts on time: a long data block takes seconds on a 31250-baud
// wire. Fed bytes date the messages whose F0 they hold.
void SamplerEngine::Feed(const uint8_t* data, size_t size) { FeedStartedAt(data, size, tick_()); }

void SamplerEngine::FeedStartedAt(const uint8_t* data, size_t size, uint32_t startTick) {
  if (!parser_.InSysex() || std::find(data, data + size, kSysexStart) != data + size) {
    messageStart_ = startTick;
  }
  feeding_ = true;
  parser_.Feed(data, size);
  feeding_ = false;
}

void SamplerEngine::SetFaults(const FaultPlan& plan) {
  faults_ = plan;
  outputFaults_.Arm(plan);
}

void SamplerEngine::HandleSysex(const uint8_t* message, size_t size) {
  if (!IsOurMessage(message, size, options_.channel)) {
    log_.CountIgnored();
    return;
  }
  if (faults_.silentMessages > 0) {
    --faults_.silentMessages;
    log_.CountIgnored();
    return;
  }
  if (phase_ != Phase::Idle && Expired(feeding_ ? messageStart_ : tick_())) phase_ = Phase::Idle;
  if (phase_ != Phase::Idle && TakenByExchange(message, size)) return;
  HandleCommand(message, size);
}

// A message that arrives during an exchange: the data block of a PUT, the host's ACK (or
// refusal) of a GET header or data message. Anything else ends the exchange and is handled as
// a command of its own.
bool SamplerEngine::TakenByExchange(const uint8_t* message, size_t size) {
  if (phase_ == Phase::AwaitPutData) {
    ReceivePutData(message, size);
    return true;
  }
  Command command;
  const bool response =
      ParseCommand(message, size, command) == CommandParse::Ok && command.type == kResponse;
  if (!response) {
    phase_ = Phase::Idle;
    return false;
  }
  const int status = command.words[0];
  log_.AddMessage({kResponse, command.words, status});
  if (phase_ == Phase::AwaitHeaderAck && status == kAck) {
    phase_ = Phase::AwaitFinalAck;
    phaseStart_ = tick_();
    SendDataMessage(pendingWords_, SampleTimeUs(static_cast<int64_t>(pendingWords_.size())));
  } else {
    phase_ = Phase::Idle;
  }
  pendingWords_.clear();
  return true;
}

void SamplerEngine::HandleCommand(const uint8_t* message, size_t size) {
  Command command;
  const CommandParse parse = ParseCommand(message, size, command);
  if (parse == CommandParse::Ok && command.type == kResponse) {
    log_.AddMessage({kResponse, command.words, command.words[0]});  // late or stray: no effect
    return;
  }
  waitsDue_ = std::exchange(faults_.waitsBeforeAnswer, 0);
  if (parse != CommandParse::Ok) {
    log_.AddMessage({size > 4 ? message[4] : 0, {}, kNak});
    Respond(kNak, options_.commandLatencyUs);
    return;
  }
  int status = kAck;
  if (const auto forced = faults_.forcedStatus.find(command.type);
      forced != faults_.forcedStatus.end()) {
    status = forced->second;
    Respond(status, options_.commandLatencyUs);
  } else {
    status = Dispatch(command);
  }
  log_.AddMessage({command.type, command.words, status});
}

int SamplerEngine::Dispatch(const Command& command) {
  switch (command.role) {
    case CommandRole::Get:
      return StartGet(command);
    case CommandRole::Put:
      return StartPut(command);
    case CommandRole::PutParameter:
      return PutParameter(command);
    case CommandRole::Probe:
      Respond(kAck, options_.commandLatencyUs);  // 35 is Cancel/No: nothing changes
      return kAck;
    case CommandRole::Edit:
      return Edit(command);
    default:
      Respond(kNak, options_.commandLatencyUs);  // a type the sampler does not take
      return kNak;
  }
}

int SamplerEngine::StartGet(const Command& command) {
  Reply reply = GetReply(command);
  if (command.type == kGetWsData) faults_.overlongDataWords = 0;
  Respond(reply.status, options_.commandLatencyUs);
  if (reply.status != kAck) return reply.status;
  Send(std::move(reply.header), 0);
  pendingWords_ = std::move(reply.words);
  phase_ = Phase::AwaitHeaderAck;
  phaseStart_ = tick_();
  return kAck;
}

SamplerEngine::Reply SamplerEngine::GetReply(const Command& command) const {
  const Target t = command.TargetAt();
  Reply reply;
  VectorSink header;
  if (command.type == kGetWsData) return GetDataReply(command);
  if (command.type == kGetOverview) return GetOverviewReply(command);
  if (command.type == kGetWsParams) {
    reply.status = executor_.CheckWaveSample(t, false);
    if (reply.status != kAck) return reply;
    reply.words =
        RecordWords(memory_.WaveSample(t.instrument, t.waveSample)->record.data(), kWsRecordWords);
    SendWsParamsHeader(header, options_.channel, t);
  } else if (const InstrumentSlot* instrument = memory_.Instrument(t.instrument); !instrument) {
    reply.status = kNoInstrument;
    return reply;
  } else if (command.type == kGetInstrumentParams) {
    reply.words = RecordWords(instrument->record.data(), kInstrRecordWords);
    SendInstrumentParamsHeader(header, options_.channel, t);
  } else if (const LayerSlot* layer = memory_.Layer(t.instrument, t.layer); !layer) {
    reply.status = kNoLayer;
    return reply;
  } else {
    reply.words = RecordWords(layer->record.data(), kLayerRecordWords);
    SendLayerParamsHeader(header, options_.channel, t);
  }
  reply.header = std::move(header.bytes);
  return reply;
}

// The samples of [start, end) as unsigned 16-bit words. The overlong fault announces and sends
// more words than asked for, silence past the data.
SamplerEngine::Reply SamplerEngine::GetDataReply(const Command& command) const {
  const Target t = command.TargetAt();
  Reply reply;
  reply.status = executor_.CheckWaveSample(t, false);
  if (reply.status != kAck) return reply;
  const WaveData& data = *memory_.Data(t.instrument, t.waveSample);
  const int start = command.Word24(3);
  int end = command.Word24(5);
  if (start >= end || end > static_cast<int>(data.size())) {
    reply.status = kBadDataRange;
    return reply;
  }
  if (faults_.overlongDataWords > 0) end = start + faults_.overlongDataWords;
  for (int p = start; p < end; ++p) {
    reply.words.push_back(p < static_cast<int>(data.size()) ? data[p] & 0xFFFF : 0);
  }
  VectorSink header;
  SendWsDataHeader(header, options_.channel, t, start, end);
  reply.header = std::move(header.bytes);
  return reply;
}

SamplerEngine::Reply SamplerEngine::GetOverviewReply(const Command& command) const {
  const Target t = command.TargetAt();
  Reply reply;
  reply.status = executor_.CheckWaveSample(t, false);
  if (reply.status != kAck) return reply;
  const int start = command.Word24(3);
  const int end = command.Word24(5);
  if (start >= end) {
    reply.status = kBadDataRange;
    return reply;
  }
  const WaveData& data = *memory_.Data(t.instrument, t.waveSample);
  reply.words = BuildOverview(data, start, end, options_.overview);
  VectorSink header;
  SendOverviewHeader(header, options_.channel, t, start, end);
  reply.header = std::move(header.bytes);
  return reply;
}

int SamplerEngine::StartPut(const Command& command) {
  const Target t = command.TargetAt();
  int status = kAck;
  int words = 0;
  if (command.type == kPutWsData) {
    status = CheckPutData(command);
    words = command.Word24(5) - command.Word24(3);
  } else if (command.type == kPutWsParams) {
    status = executor_.CheckWaveSample(t, false);
    words = kWsRecordWords;
  } else if (!memory_.Instrument(t.instrument)) {
    status = kNoInstrument;
  } else if (command.type == kPutLayerParams) {
    status = memory_.Layer(t.instrument, t.layer) ? kAck : kNoLayer;
    words = kLayerRecordWords;
  } else {
    words = kInstrRecordWords;
  }
  Respond(status, options_.commandLatencyUs);
  if (status != kAck) return status;
  put_ = {command.type, t, command.type == kPutWsData ? command.Word24(3) : 0, words};
  phase_ = Phase::AwaitPutData;
  phaseStart_ = tick_();
  return kAck;
}

// A block may start anywhere up to the end of the data and grows it when it runs past.
int SamplerEngine::CheckPutData(const Command& command) {
  const Target t = command.TargetAt();
  if (const int status = executor_.CheckWaveSample(t, true); status != kAck) return status;
  const WaveData& data = *memory_.Data(t.instrument, t.waveSample);
  const int64_t start = command.Word24(3);
  const int64_t end = command.Word24(5);
  const int64_t size = static_cast<int64_t>(data.size());
  if (start >= end || start > size || end - start > kMaxBlockWords) return kBadDataRange;
  if (end > size &&
      memory_.UsedWords() + BlockWords(end) - BlockWords(size) > memory_.CapacityWords()) {
    return kMemoryFull;
  }
  const uint32_t now = tick_();
  if (options_.minBlockGapMs > 0 && lastBlockTick_ &&
      now - *lastBlockTick_ < static_cast<uint32_t>(options_.minBlockGapMs)) {
    return kSlowDown;
  }
  const std::pair<int, int> block{t.waveSample, static_cast<int>(start)};
  if (faults_.slowDownEveryBlock && refusedBlock_ != block) {
    refusedBlock_ = block;
    return kSlowDown;
  }
  return kAck;
}

void SamplerEngine::ReceivePutData(const uint8_t* message, size_t size) {
  phase_ = Phase::Idle;
  std::vector<int> words(put_.words, 0);
  bool whole = size == DataMessageSize(put_.words);
  SpanSource source(message, size);
  MessageReader reader(source, options_.channel);
  whole = whole && reader.Header();
  for (int& word : words) whole = whole && reader.Word16(word);
  whole = whole && reader.End() && StorePutData(words);
  const int64_t received = static_cast<int64_t>((size > 5 ? size - 5 : 0) / 3);
  log_.AddMessage({LoggedMessage::kDataMessage, {static_cast<int>(received)}, whole ? kAck : kNak});
  if (whole && put_.type == kPutWsData) lastBlockTick_ = tick_();
  Respond(whole ? kAck : kNak, SampleTimeUs(put_.words));
}

bool SamplerEngine::StorePutData(const std::vector<int>& words) {
  const Target t = put_.target;
  switch (put_.type) {
    case kPutInstrumentParams:
      memory_.PutInstrumentRecord(t.instrument, words.data());
      return memory_.Instrument(t.instrument) != nullptr;
    case kPutLayerParams:
      memory_.PutLayerRecord(t.instrument, t.layer, words.data());
      return memory_.Layer(t.instrument, t.layer) != nullptr;
    case kPutWsParams:
      memory_.PutWsRecord(t.instrument, t.waveSample, words.data());
      return memory_.WaveSample(t.instrument, t.waveSample) != nullptr;
    default:
      break;
  }
  WaveData* data = memory_.EditableData(t.instrument, t.waveSample);
  const size_t end = static_cast<size_t>(put_.start) + words.size();
  if (!data || static_cast<size_t>(put_.start) > data->size()) return false;
  if (end > data->size() && memory_.Resize(t.instrument, t.waveSample, end) != kAck) return false;
  for (size_t i = 0; i < words.size(); ++i) {
    (*data)[put_.start + i] = memory_.Store(static_cast<int16_t>(words[i] & 0xFFFF));
  }
  return true;
}

// No answer unless something is wrong: 3 for a number it does not take, 4 for a value out of
// range, and the usual 5, 6, 8 for a wavesample that is not there.
int SamplerEngine::PutParameter(const Command& command) {
  const Target t = command.TargetAt();
  const int number = command.words[3];
  const int value = command.Word24(4);
  int status = executor_.CheckWaveSample(t, false);
  if (status == kAck && number != kLowKeyParameter && number != kHighKeyParameter) {
    status = kBadParameterNumber;
  }
  if (status == kAck && (value < 0 || value > 127)) status = kBadParameterValue;
  if (status != kAck) {
    Respond(status, options_.commandLatencyUs);
    return status;
  }
  const int word = number == kLowKeyParameter ? kWsLowKey : kWsHighKey;
  memory_.SetWsWord(t.instrument, t.waveSample, word, value << 8);
  return kAck;
}

int SamplerEngine::Edit(const Command& command) {
  const CommandOutcome outcome = executor_.Execute(command);
  const int64_t every = options_.waitEverySamples;
  const int64_t waits = outcome.status == kAck ? outcome.samples / every : 0;
  for (int64_t n = 0; n < waits; ++n) Respond(kWait, SampleTimeUs(every));
  const int64_t rest = outcome.samples - waits * every;
  Respond(outcome.status, options_.commandLatencyUs + SampleTimeUs(rest));
  return outcome.status;
}

void SamplerEngine::HandleChannelMessage(uint8_t status, uint8_t data1, uint8_t data2) {
  if ((status & 0x0F) != options_.channel - 1) return;
  switch (status & 0xF0) {
    case 0x80:
      log_.AddNote(data1, 0);
      break;
    case 0x90:
      log_.AddNote(data1, data2);
      break;
    case 0xC0:
      log_.AddProgramChange(data1);
      if (memory_.Instrument(data1)) currentInstrument_ = data1;
      break;
    default:
      break;
  }
}

void SamplerEngine::Respond(int status, int64_t delayUs) {
  for (; waitsDue_ > 0; --waitsDue_) {
    VectorSink wait;
    SendResponse(wait, options_.channel, kWait);
    Send(std::move(wait.bytes), 0);
  }
  VectorSink sink;
  SendResponse(sink, options_.channel, status);
  Send(std::move(sink.bytes), delayUs);
}

void SamplerEngine::SendDataMessage(const std::vector<int>& words, int64_t delayUs) {
  VectorSink sink;
  protocol::SendDataMessage(sink, options_.channel, words.data(), words.size());
  Send(std::move(sink.bytes), delayUs);
}

void SamplerEngine::Send(std::vector<uint8_t> bytes, int64_t delayUs) {
  output_(Output{outputFaults_.Apply(std::move(bytes), options_.channel), delayUs});
}

// A message that began before the phase (a host that did not wait for the ACK) is not late.
bool SamplerEngine::Expired(uint32_t messageStart) const {
  return static_cast<int32_t>(messageStart - phaseStart_) > options_.ackTimeoutMs;
}

int64_t SamplerEngine::SampleTimeUs(int64_t samples) const {
  return samples * options_.sampleLatencyNs / 1000;
}

}  // namespace kelvora::sim
