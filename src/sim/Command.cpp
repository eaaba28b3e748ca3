#include "sim/Command.h"

namespace kelvora::sim {

namespace {

using namespace protocol;

constexpr size_t kHeaderBytes = 4;

using enum CommandRole;

constexpr CommandSpec kCommands[] = {
    {kResponse, 1, Response},
    {kProbe, 1, Probe},
    {kGetInstrumentParams, 3, Get},
    {kGetLayerParams, 3, Get},
    {kGetWsParams, 3, Get},
    {kGetWsData, 7, Get},
    {kGetOverview, 7, Get},
    {kPutInstrumentParams, 3, Put},
    {kPutLayerParams, 3, Put},
    {kPutWsParams, 3, Put},
    {kPutWsData, 7, Put},
    {kPutParameter, 6, PutParameter},
    {kCreateInstrument, 3, Edit},
    {kCreateLayer, 3, Edit},
    {kDeleteLayer, 3, Edit},
    {kCreateWaveSample, 3, Edit},
    {kDeleteWaveSample, 3, Edit},
    {kDeleteInstrument, 3, Edit},
    {kEndEdit, 3, Edit},
    {kNormalizeGain, 3, Edit},
    {kClearData, 7, Edit},
    {kReverseData, 7, Edit},
    {kFadeIn, 8, Edit},  // the fade's two raw bytes read as one 12-bit word: the depth
    {kFadeOut, 8, Edit},
    {kCopyData, 12, Edit},
    {kScaleData, 12, Edit},
};

}  // namespace

Target Command::TargetAt(size_t index) const {
  return Target{words.at(index), words.at(index + 1), words.at(index + 2)};
}

int Command::Word24(size_t index) const { return (words.at(index) << 12) | words.at(index + 1); }

const CommandSpec* FindCommand(uint8_t type) {
  for (const CommandSpec& spec : kCommands) {
    if (spec.type == type) return &spec;
  }
  return nullptr;
}

bool IsOurMessage(const uint8_t* message, size_t size, int channel) {
  return size >= kHeaderBytes + 1 && message[0] == kSysexStart && message[1] == kEnsoniqId &&
         message[2] == kEpsFamily && message[3] == ((channel - 1) & 0x0F) &&
         message[size - 1] == kSysexEnd;
}

CommandParse ParseCommand(const uint8_t* message, size_t size, Command& command) {
  if (size < kHeaderBytes + 2) return CommandParse::Malformed;
  command.type = message[kHeaderBytes];
  const CommandSpec* spec = FindCommand(command.type);
  if (!spec) return CommandParse::Unknown;
  const int count = spec->words;
  if (size != kHeaderBytes + 2 + 2 * static_cast<size_t>(count)) return CommandParse::Malformed;
  SpanSource source(message + kHeaderBytes + 1, size - kHeaderBytes - 1);
  MessageReader reader(source, 1);
  command.words.assign(count, 0);
  for (int& word : command.words) {
    if (!reader.Word12(word)) return CommandParse::Malformed;
  }
  if (!reader.End()) return CommandParse::Malformed;
  command.role = spec->role;
  return CommandParse::Ok;
}

}  // namespace kelvora::sim
