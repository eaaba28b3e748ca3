#pragma once

#include <QString>

namespace kelvora::dialogs {

// The lowest and highest MIDI notes the key lists offer: the 88 keys of a piano.
constexpr int kLowestKey = 21;
constexpr int kHighestKey = 108;
constexpr int kKeyCount = kHighestKey - kLowestKey + 1;

// The name of a MIDI note: letter, octave, then "+" for a black key (21 "A0", 61 "C4+", 108 "C8").
// Middle C (60) is in octave 4.
QString KeyName(int note);

}  // namespace kelvora::dialogs
