#include "sim/Command.h"

namespace kelvora::sim {

namespace {

using namespace protocol;

constexpr size_t kHeaderBytes = 4;

}  // namespace

Target Command::TargetAt(size_t index) const {
  return Target{words.at(index), words.at(index + 1), words.at(index + 2)};
}

int Command::Word24(size_t index) const { return (words.at(index) << 12) | words.at(index + 1); }

int ParameterWords(uint8_t type) {
  switch (type) {
    case kResponse:
    case kProbe:
      return 1;
    case kGetInstrumentParams:
    case kGetLayerParams:
    case kGetWsParams:
    case kPutInstrumentParams:
    case kPutLayerParams:
    case kPutWsParams:
    case kCreateInstrument:
    case kCreateLayer:
    case kDeleteLayer:
    case kCreateWaveSample:
    case kDeleteWaveSample:
    case kDeleteInstrument:
    case kEndEdit:
    case kNormalizeGain:
      return 3;
    case kPutParameter:
      return 6;
    case kGetWsData:
    case kGetOverview:
    case kPutWsData:
    case kClearData:
    case kReverseData:
      return 7;
    case kFadeIn:
    case kFadeOut:
      return 8;  // the fade's two raw bytes read as one 12-bit word: the depth
    case kCopyData:
    case kScaleData:
      return 12;
    default:
      return -1;
  }
}

bool IsOurMessage(const uint8_t* message, size_t size, int channel) {
  return size >= kHeaderBytes + 1 && message[0] == kSysexStart && message[1] == kEnsoniqId &&
         message[2] == kEpsFamily && message[3] == ((channel - 1) & 0x0F) &&
         message[size - 1] == kSysexEnd;
}

CommandParse ParseCommand(const uint8_t* message, size_t size, Command& command) {
  if (size < kHeaderBytes + 2) return CommandParse::Malformed;
  command.type = message[kHeaderBytes];
  const int count = ParameterWords(command.type);
  if (count < 0) return CommandParse::Unknown;
  if (size != kHeaderBytes + 2 + 2 * static_cast<size_t>(count)) return CommandParse::Malformed;
  SpanSource source(message + kHeaderBytes + 1, size - kHeaderBytes - 1);
  MessageReader reader(source, 1);
  command.words.assign(count, 0);
  for (int& word : command.words) {
    if (!reader.Word12(word)) return CommandParse::Malformed;
  }
  return reader.End() ? CommandParse::Ok : CommandParse::Malformed;
}

}  // namespace kelvora::sim
