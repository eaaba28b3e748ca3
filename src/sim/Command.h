#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "protocol/Sysex.h"

namespace kelvora::sim {

// What the sampler does with a command type it takes.
enum class CommandRole {
  Unknown,       // not one the sampler takes: refused with NAK
  Response,      // the host's ACK or refusal
  Probe,         // a front-panel button press
  Get,           // answered with a header and a data message
  Put,           // followed by a data block
  PutParameter,  // answered only when something is wrong
  Edit,          // carried out on the memory by CommandExecutor
};

// One command type the sampler takes: how many 12-bit words follow it and what it does.
struct CommandSpec {
  uint8_t type;
  int words;
  CommandRole role;
};

// The entry for a command type; nullptr for a type the sampler does not take.
const CommandSpec* FindCommand(uint8_t type);

// A command message from the host, its parameters decoded as 12-bit words in order.
// A 24-bit value (positions, levels) occupies two of these words.
struct Command {
  uint8_t type = 0;
  CommandRole role = CommandRole::Unknown;
  std::vector<int> words;

  // The instrument, layer and wavesample at words index .. index + 2.
  protocol::Target TargetAt(size_t index = 0) const;
  int Word24(size_t index) const;
};

// True when the message begins F0 0F 03 (channel - 1) and ends with F7.
bool IsOurMessage(const uint8_t* message, size_t size, int channel);

enum class CommandParse { Ok, Unknown, Malformed };

// Decodes a message that IsOurMessage accepted. Unknown: a type the sampler does not take;
// Malformed: a known type with the wrong length or a byte that cannot be a word byte.
CommandParse ParseCommand(const uint8_t* message, size_t size, Command& command);

}  // namespace kelvora::sim
