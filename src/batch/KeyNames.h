#pragma once

#include <optional>
#include <string>

namespace kelvora::batch {

// MIDI keys as users write them: a number 0..127, or a note name with its octave, middle C
// being C4 = 60 (so A-1 is 9 and G9 is 127). Sharps are written "#" (C#3) or, as the windows
// show them, "+" after the octave (C3+); flats "b" (Db3).
std::optional<int> ParseKey(const std::string& text);
// "C4", "C#3", "A-1".
std::string KeyName(int key);
// "C4 (60)", for messages and listings.
std::string KeyLabel(int key);

// The root key a file's name tells, by the naming conventions of sample libraries: a note name
// standing alone or after a separator ("Piano_C#3.wav", "Strings A-1.aif", "Bass-Eb2"), else a
// two- or three-digit MIDI number standing alone ("Piano_061.wav"). The last such part of the
// name counts; the extension does not.
std::optional<int> KeyFromFileName(const std::string& path);

}  // namespace kelvora::batch
