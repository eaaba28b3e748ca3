#pragma once

#include <cstdint>
#include <map>

namespace kelvora::sim {

// Faults the simulated sampler can be told to commit, for tests of the host's error handling.
// A plan replaces the previous one; counts run down as the faults are committed. Byte counts
// start at the moment the plan is set.
struct FaultPlan {
  // The next n SysEx messages for the sampler are lost: no effect, no answer.
  int silentMessages = 0;

  // The byte at this index of everything sent from now on (0 = the first) is dropped, or
  // replaced by replacementByte when dropByte is false. -1: none.
  int64_t byteIndex = -1;
  bool dropByte = true;
  uint8_t replacementByte = 0;

  // The next n messages sent carry the channel above the base channel (16 wraps to 1).
  int wrongChannelMessages = 0;

  // WAIT responses sent before the first answer to the next command.
  int waitsBeforeAnswer = 0;

  // Every PUT WAVESAMPLE DATA block is first answered with status 20; the host's repeat of the
  // same block is accepted.
  bool slowDownEveryBlock = false;

  // Command type -> the status every such command is answered with (and nothing else done).
  std::map<int, int> forcedStatus;

  // The next GET WAVESAMPLE DATA announces and sends this many words from its start instead of
  // the range asked for (positions past the data are sent as silence). 0: none.
  int overlongDataWords = 0;

  // The next message sent that is longer than this many bytes stops after them, without its
  // F7. -1: none.
  int cutMessageAfter = -1;
};

}  // namespace kelvora::sim
