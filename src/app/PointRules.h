#pragma once

namespace kelvora::app {

// The marker commands of the Edit menu as rules over a wavesample record (one int per parameter
// word): each sets one position from the view's selection (bounds inclusive) and keeps the pair
// it sets in order, start before end. An order already broken by the other pair is left alone.
void ApplySampleStart(int* wsParams, int selStart);
void ApplySampleEnd(int* wsParams, int selEnd);
void ApplyLoopStart(int* wsParams, int selStart);
void ApplyLoopEnd(int* wsParams, int selEnd);

// Whether a playback mode (the record's word, 0x000 .. 0x400) plays a loop.
bool LoopIsOn(int playbackMode);

}  // namespace kelvora::app
