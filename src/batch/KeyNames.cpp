#include "batch/KeyNames.h"

#include <algorithm>
#include <cctype>

namespace kelvora::batch {

namespace {

constexpr int kHighestKey = 127;
constexpr int kSemitones[7] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G

bool IsDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }
bool IsLetter(char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; }
bool IsNoteLetter(char c) {
  const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return upper >= 'A' && upper <= 'G';
}

// A note name at text[at]: letter, optional # or b, octave -1..9, optional +. `end` is set past
// what it read. The key is checked against 0..127.
std::optional<int> ReadNote(const std::string& text, size_t at, size_t& end) {
  size_t i = at;
  if (i >= text.size() || !IsNoteLetter(text[i])) return std::nullopt;
  int semitone = kSemitones[std::toupper(static_cast<unsigned char>(text[i++])) - 'A'];
  if (i < text.size() && (text[i] == '#' || text[i] == 'b')) semitone += text[i++] == '#' ? 1 : -1;
  const bool negative = i < text.size() && text[i] == '-';
  if (negative) ++i;
  if (i >= text.size() || !IsDigit(text[i])) return std::nullopt;
  const int octave = (negative ? -1 : 1) * (text[i++] - '0');
  if (negative && octave != -1) return std::nullopt;
  if (i < text.size() && text[i] == '+') {
    ++semitone;
    ++i;
  }
  const int key = (octave + 1) * 12 + semitone;
  if (key < 0 || key > kHighestKey) return std::nullopt;
  end = i;
  return key;
}

// The name without its folder and its extension.
std::string Stem(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  const size_t dot = name.find_last_of('.');
  if (dot != std::string::npos && dot > 0) name.resize(dot);
  return name;
}

// A two- or three-digit number at name[at] standing alone: nothing alphanumeric on either side.
std::optional<int> ReadNumber(const std::string& name, size_t at) {
  if (at > 0 && std::isalnum(static_cast<unsigned char>(name[at - 1]))) return std::nullopt;
  size_t end = at;
  while (end < name.size() && IsDigit(name[end])) ++end;
  if (end - at < 2 || end - at > 3) return std::nullopt;
  if (end < name.size() && std::isalnum(static_cast<unsigned char>(name[end]))) return std::nullopt;
  const int key = std::stoi(name.substr(at, end - at));
  return key <= kHighestKey ? std::optional<int>(key) : std::nullopt;
}

}  // namespace

std::optional<int> ParseKey(const std::string& text) {
  if (!text.empty() && text.size() <= 3 &&
      std::all_of(text.begin(), text.end(), [](char c) { return IsDigit(c); })) {
    const int key = std::stoi(text);
    return key <= kHighestKey ? std::optional<int>(key) : std::nullopt;
  }
  size_t end = 0;
  const std::optional<int> key = ReadNote(text, 0, end);
  return key && end == text.size() ? key : std::nullopt;
}

std::string KeyName(int key) {
  static constexpr const char* kNames[12] = {"C",  "C#", "D",  "D#", "E",  "F",
                                             "F#", "G",  "G#", "A",  "A#", "B"};
  const int octave = key >= 0 ? key / 12 - 1 : -((11 - key) / 12) - 1;
  return kNames[key - (octave + 1) * 12] + std::to_string(octave);
}

std::string KeyLabel(int key) { return KeyName(key) + " (" + std::to_string(key) + ")"; }

std::optional<int> KeyFromFileName(const std::string& path) {
  const std::string name = Stem(path);
  std::optional<int> note;
  std::optional<int> number;
  for (size_t i = 0; i < name.size(); ++i) {
    size_t end = 0;
    if ((i == 0 || !IsLetter(name[i - 1])) && IsNoteLetter(name[i])) {
      const std::optional<int> key = ReadNote(name, i, end);
      if (key && (end == name.size() || !IsDigit(name[end]))) note = key;
    }
    if (IsDigit(name[i])) {
      if (const std::optional<int> key = ReadNumber(name, i)) number = key;
    }
  }
  return note ? note : number;
}

}  // namespace kelvora::batch
