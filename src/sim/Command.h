#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "protocol/Sysex.h"

namespace kelvora::sim {

// A command message from the host, its parameters decoded as 12-bit words in order.
// A 24-bit value (positions, levels) occupies two of these words.
struct Command {
  uint8_t type = 0;
  std::vector<int> words;

  // The instrument, layer and wavesample at words index .. index + 2.
  protocol::Target TargetAt(size_t index = 0) const;
  int Word24(size_t index) const;
};

// How many 12-bit words follow a command type the sampler takes; -1 for any other type.
int ParameterWords(uint8_t type);

// True when the message begins F0 0F 03 (channel - 1) and ends with F7.
bool IsOurMessage(const uint8_t* message, size_t size, int channel);

enum class CommandParse { Ok, Unknown, Malformed };

// Decodes a message that IsOurMessage accepted. Unknown: a type the sampler does not take;
// Malformed: a known type with the wrong length or a byte that cannot be a word byte.
CommandParse ParseCommand(const uint8_t* message, size_t size, Command& command);

}  // namespace kelvora::sim
