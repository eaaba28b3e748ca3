#include "transfer/SourceRendering.h"

#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

#include "transfer/SamplerRates.h"
#include "transfer/WavWriter.h"

namespace kelvora::transfer {
namespace {

struct Closer {
  void operator()(std::FILE* stream) const { std::fclose(stream); }
};

constexpr int kBlock = 8192;

}  // namespace

bool RenderToWav(UploadSource& source, const std::string& path) {
  std::unique_ptr<std::FILE, Closer> stream(std::fopen(path.c_str(), "wb"));
  if (!stream) return false;
  const int rate = static_cast<int>(std::lround(PlayedRate((source.RateWord() >> 8) & 0xFF)));
  const auto frames = static_cast<uint32_t>(source.FrameCount());
  if (!WriteWavHeader(stream.get(), rate, frames)) return false;
  std::vector<int> words(kBlock);
  uint32_t written = 0;
  for (int n; (n = source.Fill(words.data(), kBlock)) != 0; written += n) {
    if (n < 0) return false;
    for (int i = 0; i < n; ++i) {
      if (!WriteLe16(stream.get(), static_cast<uint16_t>(words[i] & 0xFFFF))) return false;
    }
  }
  return written == frames && std::fclose(stream.release()) == 0;
}

}  // namespace kelvora::transfer
