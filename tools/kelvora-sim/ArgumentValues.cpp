#include "kelvora-sim/ArgumentValues.h"

#include <cctype>
#include <charconv>

#include "sim/SamplerModel.h"

namespace kelvora::simcli {

bool ReadNumber(std::string_view text, int64_t& value) {
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    text.remove_prefix(2);
    base = 16;
    if (text.front() == '-' || text.front() == '+') return false;
  }
  if (text.empty()) return false;
  const char* end = text.data() + text.size();
  const auto [next, error] = std::from_chars(text.data(), end, value, base);
  return error == std::errc() && next == end;
}

std::string NumberInRange(std::string_view text, int64_t min, int64_t max, int64_t& value) {
  int64_t read = 0;
  if (!ReadNumber(text, read) || read < min || read > max) {
    // Appended rather than "'" + text: gcc 12 at -O3 warns falsely (-Wrestrict) on the latter.
    std::string message = "'";
    message.append(text).append("' is not a number ");
    return message + std::to_string(min) + ".." + std::to_string(max);
  }
  value = read;
  return {};
}

std::string MemoryWords(std::string_view text, int64_t& words) {
  const std::string original(text);
  int64_t unit = 1;
  if (!text.empty()) {
    const char suffix = static_cast<char>(std::toupper(static_cast<unsigned char>(text.back())));
    if (suffix == 'K' || suffix == 'M') {
      unit = suffix == 'K' ? 1024 : 1024 * 1024;
      text.remove_suffix(1);
    }
  }
  int64_t count = 0;
  const int64_t most = sim::kMaxMemoryWords / unit;
  const int64_t least = (sim::kMinMemoryWords + unit - 1) / unit;
  if (!ReadNumber(text, count) || count < least || count > most ||
      (count * unit) % sim::kMemoryBlockWords != 0) {
    return "'" + original + "' is not a whole number of 256-word blocks from " +
           std::to_string(sim::kMinMemoryWords) + " to " + std::to_string(sim::kMaxMemoryWords) +
           " words";
  }
  words = count * unit;
  return {};
}

bool SplitPair(std::string_view text, std::string_view& left, std::string_view& right) {
  const size_t equals = text.find('=');
  if (equals == std::string_view::npos) return false;
  left = text.substr(0, equals);
  right = text.substr(equals + 1);
  return true;
}

}  // namespace kelvora::simcli
