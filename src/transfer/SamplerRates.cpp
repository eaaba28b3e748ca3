#include "transfer/SamplerRates.h"

#include <cmath>

#include "protocol/Records.h"

namespace kelvora::transfer {
namespace {

constexpr double kPeriodBase = 625000.0;  // 1 / 1.6 us
constexpr int kFamily441 = 11025;

// 48000, 44642.9 (n = 14), 44100, then n = 15..255.
std::vector<int> TargetCodesFastestFirst() {
  std::vector<int> codes{kCode48000, kFastestTargetPeriod, kCode44100};
  for (int code = kFastestTargetPeriod + 1; code <= kSlowestPeriod; ++code) codes.push_back(code);
  return codes;
}

}  // namespace

double PlayedRate(int code) {
  if (code == kCode48000) return 48000.0;
  if (code == kCode44100) return 44100.0;
  if (code < 2 || code > kSlowestPeriod) return 0.0;
  return kPeriodBase / code;
}

bool IsTargetCode(int code) {
  return code == kCode48000 || code == kCode44100 ||
         (code >= kFastestTargetPeriod && code <= kSlowestPeriod);
}

int ExactCode(int fileRate) {
  if (fileRate == 48000) return kCode48000;
  if (fileRate == 44100) return kCode44100;
  if (fileRate <= 0 || 625000 % fileRate != 0) return -1;
  const int code = 625000 / fileRate;
  return IsTargetCode(code) ? code : -1;
}

int DefaultTargetCode(int fileRate) {
  if (const int exact = ExactCode(fileRate); exact >= 0) return exact;
  if (fileRate > 48000) return fileRate % kFamily441 == 0 ? kCode44100 : kCode48000;
  int best = kCode48000;
  for (int code : TargetCodesFastestFirst()) {
    if (PlayedRate(code) >= fileRate) best = code;
  }
  return best;
}

std::vector<int> TargetCodes(int fileRate) {
  const int first = DefaultTargetCode(fileRate);
  std::vector<int> codes{first};
  for (int code : TargetCodesFastestFirst()) {
    if (PlayedRate(code) < PlayedRate(first)) codes.push_back(code);
  }
  return codes;
}

int UnchangedCode(int fileRate) { return protocol::RateWordForSampleRate(fileRate) >> 8; }

double CentsOff(double played, double fileRate) {
  if (played <= 0 || fileRate <= 0) return 0.0;
  return 1200.0 * std::log2(played / fileRate);
}

}  // namespace kelvora::transfer
