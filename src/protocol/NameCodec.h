#pragma once

#include <string>

// Names of instruments, layers and wavesamples: 12 characters, one per parameter word, the
// character code in the high byte.
namespace kelvora::protocol {

// The name as the user sees it: every word capitalised ("PIANO 1 LOW" reads "Piano 1 Low"; any
// character that is not a letter starts a new word), trailing blanks and control codes removed.
std::string DecodeName(const int* words);

// Writes words[0..11]: the text in upper case, cut to 12 characters and padded with blanks.
// Only "*-+0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ" and the blank are stored; any other character
// becomes a blank.
void EncodeName(int* words, const std::string& text);

}  // namespace kelvora::protocol
