#include "transfer/UploadFigures.h"

#include <algorithm>
#include <cmath>

#include "protocol/Eps.h"
#include "transfer/SamplerRates.h"

namespace kelvora::transfer {
namespace {

constexpr double kWireBytesPerSecond = 3125.0;  // 31250 baud, 10 bits a byte
constexpr int64_t kMemoryBlock = 256;
constexpr int kMinBlock = 256;
constexpr int kTrailingWords = 2;
// Message sizes in bytes: a command with its target (F0 0F 03 ch cmd, three W12, F7), a range
// command (two W24 more), a response, a PUT PARAMETER (number and 24-bit value more).
constexpr int64_t kTripleBytes = 12;
constexpr int64_t kRangeBytes = 20;
constexpr int64_t kResponseBytes = 8;
constexpr int64_t kParameterBytes = 18;
// The session waits a second after each of the two key-range parameters.
constexpr double kKeyRangeWaitSeconds = 2.0;

int64_t DataMessage(int64_t words) { return 5 + 3 * words; }

// PUT with its answer, then the block with its answer.
int64_t PutExchange(int64_t headerBytes, int64_t words) {
  return headerBytes + kResponseBytes + DataMessage(words) + kResponseBytes;
}

// GET INSTRUMENT and the sampler's PUT of the record, acknowledged, then the renamed record back.
int64_t RenameBytes() {
  const int64_t fetch =
      kTripleBytes + kResponseBytes + PutExchange(kTripleBytes, protocol::kInstrParamWords);
  return fetch + PutExchange(kTripleBytes, protocol::kInstrParamWords);
}

std::string Cents(double cents) {
  const long rounded = std::lround(std::fabs(cents));
  if (rounded == 0) return "plays at pitch";
  return "plays " + std::to_string(rounded) + (rounded == 1 ? " cent " : " cents ") +
         (cents > 0 ? "sharp" : "flat");
}

}  // namespace

UploadFigures FiguresFor(int64_t frames, int blockSize, const UploadChoices& choices, int delayMs) {
  const int64_t block = std::clamp(blockSize, kMinBlock, protocol::kSampleBufferWords);
  const int64_t words = std::max<int64_t>(frames, 0) + kTrailingWords;
  const int64_t blocks = (words + block - 1) / block;
  UploadFigures figures;
  figures.memoryBlocks = (words + kMemoryBlock - 1) / kMemoryBlock;
  figures.wireBytes = blocks * PutExchange(kRangeBytes, 0) + 3 * words +
                      PutExchange(kTripleBytes, protocol::kWsParamWords);
  if (choices.waveSample == 1) figures.wireBytes += RenameBytes();
  double pauses = blocks * std::clamp(delayMs, 0, 4000) / 1000.0;
  if (choices.range != KeyRangeMode::Full) {
    figures.wireBytes += 2 * kParameterBytes;
    pauses += kKeyRangeWaitSeconds;
  }
  figures.wireSeconds = static_cast<double>(figures.wireBytes) / kWireBytesPerSecond + pauses;
  return figures;
}

std::string FiguresText(const UploadFigures& figures) {
  return std::to_string(figures.memoryBlocks) + (figures.memoryBlocks == 1 ? " block" : " blocks") +
         " of memory, " + DurationText(figures.wireSeconds) + " on the wire";
}

std::string PitchText(const SourcePlan& plan) {
  const double played = PlayedRate(plan.rateCode);
  const std::string target = std::to_string(std::lround(played)) + " Hz";
  const std::string from = std::to_string(plan.fileRate) + " Hz";
  if (plan.resampled) return from + " \u2192 " + target + ", plays at pitch";
  const double cents = CentsOff(played, plan.fileRate);
  if (std::lround(played) == plan.fileRate && std::fabs(cents) < 0.5) return from + ", " + Cents(0);
  return from + " sent as " + target + ", " + Cents(cents);
}

std::string DurationText(double seconds) {
  if (seconds < 1) return "under 1 s";
  const long total = std::lround(seconds);
  const long hours = total / 3600;
  const long minutes = total / 60 % 60;
  const long rest = total % 60;
  if (hours > 0) return std::to_string(hours) + " h " + std::to_string(minutes) + " min";
  if (minutes > 0) return std::to_string(minutes) + " min " + std::to_string(rest) + " s";
  return std::to_string(rest) + " s";
}

}  // namespace kelvora::transfer
