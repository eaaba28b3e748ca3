#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kelvora::simcli {

// Reads a whole number: decimal, or hexadecimal after "0x". False for anything else, an empty
// text, a sign on a hexadecimal number and values beyond 64 bits included.
bool ReadNumber(std::string_view text, int64_t& value);

// Empty when `text` is a number in [min, max], stored in `value`; otherwise what is wrong.
std::string NumberInRange(std::string_view text, int64_t min, int64_t max, int64_t& value);

// Memory in 16-bit words, with an optional K (x 1024) or M (x 1024 x 1024) suffix; it must be a
// whole number of 256-word blocks within what a sampler of the family can hold.
std::string MemoryWords(std::string_view text, int64_t& words);

// Splits "LEFT=RIGHT"; false when there is no "=".
bool SplitPair(std::string_view text, std::string_view& left, std::string_view& right);

}  // namespace kelvora::simcli
