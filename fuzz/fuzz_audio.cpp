// Arbitrary bytes as an audio file through the converted upload path, read from memory by
// libsndfile's virtual I/O, to the last word: every file is either refused with a reason or
// gives exactly the words it announced (or stops with a read failure where its data ends).
#include <cstddef>
#include <cstdint>
#include <vector>

#include "FuzzCheck.h"
#include "transfer/UploadCheck.h"
#include "transfer/UploadSources.h"

namespace {

using namespace kelvora;
using fuzz::Require;

// Beyond this many words, a file is read at its own rate instead of resampled: upsampling a
// file that claims a rate of a few hertz would make one input cost seconds.
constexpr int kResampledWords = 1 << 16;

// The options come from the input's size, so each input is one fixed run.
transfer::SourceOptions OptionsFor(size_t size) {
  transfer::SourceOptions options;
  options.pick.mode = static_cast<int>(size % 4) + 1;
  options.pick.channel = static_cast<int>(size % 3);
  options.bits = size % 5 == 0 ? 13 : 16;
  options.unchanged = size % 7 == 0;
  if (size % 11 == 0) options.targetCode = 14 + static_cast<int>(size % 242);
  return options;
}

void CheckPlan(const transfer::UploadSource& source) {
  const int frames = source.FrameCount();
  Require(frames >= 1 && frames <= transfer::kMaxUploadFrames, "a frame count beyond the limits");
  if (const auto loop = source.Loop()) {
    Require(loop->start >= 0 && loop->start <= loop->end && loop->end <= frames,
            "a loop outside the wavesample");
  }
  if (const auto key = source.RootKey())
    Require(*key >= 0 && *key <= 127, "a root key beyond MIDI");
}

void ReadAll(transfer::UploadSource& source, int bits) {
  static std::vector<int> block(10240);
  int64_t total = 0;
  for (int round = 0;; ++round) {
    const int asked = 1 + (round * 977) % 10240;
    const int count = source.Fill(block.data(), asked);
    if (count < 0) return;  // the data ended before the frames its header announced
    Require(count <= asked, "more words than asked for");
    if (count == 0) break;
    for (int i = 0; i < count; ++i) {
      Require(block[i] >= 0 && block[i] <= 0xFFFF, "a word beyond 16 bits");
      if (bits == 13) Require((block[i] & 7) == 0, "a 13-bit word with its low bits set");
    }
    total += count;
  }
  Require(total == source.FrameCount(), "fewer words than the frame count");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  transfer::SourceOptions options = OptionsFor(size);
  transfer::OpenedSource opened = transfer::OpenUploadSourceInMemory(data, size, "fuzz", options);
  if (opened.source && opened.source->FrameCount() > kResampledWords && !options.unchanged) {
    options.unchanged = true;
    opened = transfer::OpenUploadSourceInMemory(data, size, "fuzz", options);
  }
  Require(!opened.source != opened.refusal.empty(), "a source and a refusal disagree");
  if (!opened.source) return 0;
  CheckPlan(*opened.source);
  ReadAll(*opened.source, options.bits);
  return 0;
}
