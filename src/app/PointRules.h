#pragma once

namespace kelvora::app {

// The marker commands of the Edit menu as rules over a wavesample record (one int per parameter
// word): each sets one position from the view's selection (bounds inclusive) and keeps the pair
// it sets in order, start before end. An order already broken by the other pair is left alone.
void ApplySampleStart(int* wsParams, int selStart);
void ApplySampleEnd(int* wsParams, int selEnd);
void ApplyLoopStart(int* wsParams, int selStart);
void ApplyLoopEnd(int* wsParams, int selEnd);

// Both loop points at once, each through its rule, in the order that lets neither rule see the
// other point's old position: the end first when it moves beyond the old start, else the start.
void ApplyLoopPoints(int* wsParams, int loopStart, int loopEnd);

// Whether a playback mode (the record's word, 0x000 .. 0x400) plays a loop.
bool LoopIsOn(int playbackMode);

}  // namespace kelvora::app
