#include "transfer/WavDownloadWriter.h"

#include <algorithm>
#include <cmath>

#include "protocol/Records.h"
#include "transfer/SamplerRates.h"
#include "transfer/WavWriter.h"

namespace kelvora::transfer {
namespace {

// The sampler's sample period is n x 1.6 us; 44100 and 48000 Hz have codes of their own.
uint32_t PeriodNs(int rateCode) {
  const double rate = PlayedRate(rateCode);
  return rate > 0 ? static_cast<uint32_t>(std::lround(1e9 / rate)) : 0;
}

// The chunk for a file of `written` samples: a loop only where it lies within them.
SmplChunk SmplFor(const WavesampleFacts& facts, int64_t written) {
  SmplChunk chunk;
  chunk.samplePeriodNs = PeriodNs(facts.rateCode);
  chunk.unityNote = static_cast<uint32_t>(std::clamp(facts.rootKey, 0, 127));
  if (facts.loop && facts.loop->start >= 0 && facts.loop->start < facts.loop->end &&
      facts.loop->end <= written) {
    chunk.hasLoop = true;
    chunk.loopType = facts.loop->alternating ? 1 : 0;
    chunk.loopStart = static_cast<uint32_t>(facts.loop->start);
    chunk.loopLast = static_cast<uint32_t>(facts.loop->end - 1);
  }
  return chunk;
}

}  // namespace

WavDownloadWriter::WavDownloadWriter(std::FILE* stream) : stream_(stream) {}

bool WavDownloadWriter::Begin(const WavesampleFacts& facts) {
  facts_ = facts;
  const uint32_t trailing = SmplChunkBytes(SmplFor(facts, facts.frames));
  return WriteWavHeader(stream_.get(), protocol::SampleRateFromCode(facts.rateCode << 8),
                        static_cast<uint32_t>(facts.frames), trailing);
}

// Each sample is written as its low 16 bits, little-endian.
bool WavDownloadWriter::Write(const int* words, int count) {
  for (int done = 0; done < count;) {
    const int part = std::min(count - done, static_cast<int>(sizeof bytes_ / 2));
    for (int i = 0; i < part; ++i) {
      const int word = words[done + i];
      bytes_[2 * i] = static_cast<uint8_t>(word & 0xFF);
      bytes_[2 * i + 1] = static_cast<uint8_t>((word >> 8) & 0xFF);
    }
    const size_t bytes = 2 * static_cast<size_t>(part);
    if (std::fwrite(bytes_, 1, bytes, stream_.get()) != bytes) return false;
    done += part;
  }
  return true;
}

// The smpl chunk follows the samples written; the sizes then announce exactly what is there.
bool WavDownloadWriter::Finish(int64_t written) {
  const SmplChunk smpl = SmplFor(facts_, written);
  const auto samples = static_cast<uint32_t>(written);
  bool ok = WriteSmplChunk(stream_.get(), smpl) &&
            RewriteWavSizes(stream_.get(), samples, SmplChunkBytes(smpl));
  ok = std::fclose(stream_.release()) == 0 && ok;
  return ok;
}

}  // namespace kelvora::transfer
