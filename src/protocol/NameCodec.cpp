#include "protocol/NameCodec.h"

#include <string_view>

#include "protocol/Records.h"

namespace kelvora::protocol {

namespace {

// The characters the sampler can show in a name; every other character is stored as a blank.
constexpr std::string_view kNameCharacters = "*-+0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";

// ASCII only: codes above 127 are left as they are, whatever the locale.
bool IsUpper(unsigned char c) { return c >= 'A' && c <= 'Z'; }
bool IsLower(unsigned char c) { return c >= 'a' && c <= 'z'; }
unsigned char ToUpper(unsigned char c) { return IsLower(c) ? c - 'a' + 'A' : c; }
unsigned char ToLower(unsigned char c) { return IsUpper(c) ? c - 'A' + 'a' : c; }
bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

std::string DecodeName(const int* words) {
  std::string name(kNameLength, ' ');
  bool startOfWord = true;
  for (int i = 0; i < kNameLength; ++i) {
    unsigned char c = ToLower(static_cast<unsigned char>((words[i] >> 8) & 0xFF));
    if (IsLower(c)) {
      if (startOfWord) c = ToUpper(c);
      startOfWord = false;
    } else {
      startOfWord = true;
    }
    name[i] = static_cast<char>(c);
  }
  // Codes up to 32 are blanks and control codes; compared unsigned so that codes above 127
  // are kept.
  size_t length = name.size();
  while (length > 0 && static_cast<unsigned char>(name[length - 1]) <= 32) --length;
  name.resize(length);
  return name;
}

// A character of several UTF-8 bytes becomes one blank, not one per byte.
void EncodeName(int* words, const std::string& text) {
  size_t at = 0;
  for (int i = 0; i < kNameLength; ++i) {
    unsigned char c = ' ';
    if (at < text.size()) {
      const unsigned char byte = static_cast<unsigned char>(text[at++]);
      while (byte >= 0xC0 && at < text.size() && IsContinuation(text[at])) ++at;
      const unsigned char upper = ToUpper(byte);
      if (kNameCharacters.find(static_cast<char>(upper)) != std::string_view::npos) c = upper;
    }
    words[i] = c << 8;
  }
}

}  // namespace kelvora::protocol
