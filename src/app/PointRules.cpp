#include "app/PointRules.h"

#include <algorithm>

#include "protocol/Records.h"

namespace kelvora::app {

using protocol::GetPosition;
using protocol::kWsLoopEnd;
using protocol::kWsLoopStart;
using protocol::kWsSampleEnd;
using protocol::kWsSampleStart;
using protocol::SetPosition;

namespace {

// What a position reads back as once written: a field holds 0 .. kMaxPosition.
int Stored(int position) { return std::clamp(position, 0, protocol::kMaxPosition); }

// Two stored positions are compared unsigned, as the sampler holds them.
bool StoredBelow(int a, int b) {
  return static_cast<unsigned>(Stored(a)) < static_cast<unsigned>(Stored(b));
}

}  // namespace

bool LoopIsOn(int playbackMode) {
  return playbackMode != protocol::kForwardNoLoop && playbackMode != protocol::kBackwardNoLoop;
}

void ApplySampleStart(int* wsParams, int selStart) {
  const int end = GetPosition(wsParams, kWsSampleEnd);
  SetPosition(wsParams, kWsSampleStart, selStart < end ? selStart : end - 1);
}

// With the loop on the sample end never falls inside the loop; an end equal to the loop end
// stays where it is.
void ApplySampleEnd(int* wsParams, int selEnd) {
  const int start = GetPosition(wsParams, kWsSampleStart);
  int end = start < selEnd ? selEnd : start + 1;
  if (LoopIsOn(wsParams[protocol::kWsPlaybackMode])) {
    const int loopEnd = GetPosition(wsParams, kWsLoopEnd);
    if (StoredBelow(end, loopEnd)) end = loopEnd + 1;
  }
  SetPosition(wsParams, kWsSampleEnd, end);
}

void ApplyLoopStart(int* wsParams, int selStart) {
  const int loopEnd = GetPosition(wsParams, kWsLoopEnd);
  const int sampleEnd = GetPosition(wsParams, kWsSampleEnd);
  int start = selStart < loopEnd ? selStart : loopEnd - 1;
  if (!StoredBelow(start, sampleEnd)) start = sampleEnd - 1;
  SetPosition(wsParams, kWsLoopStart, start);
}

void ApplyLoopEnd(int* wsParams, int selEnd) {
  const int loopStart = GetPosition(wsParams, kWsLoopStart);
  const int sampleEnd = GetPosition(wsParams, kWsSampleEnd);
  int end = loopStart < selEnd ? selEnd : loopStart + 1;
  if (!StoredBelow(end, sampleEnd)) end = sampleEnd - 1;
  SetPosition(wsParams, kWsLoopEnd, end);
}

void ApplyLoopPoints(int* wsParams, int loopStart, int loopEnd) {
  if (loopEnd > GetPosition(wsParams, kWsLoopStart)) {
    ApplyLoopEnd(wsParams, loopEnd);
    ApplyLoopStart(wsParams, loopStart);
  } else {
    ApplyLoopStart(wsParams, loopStart);
    ApplyLoopEnd(wsParams, loopEnd);
  }
}

}  // namespace kelvora::app
