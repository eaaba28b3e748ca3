#include "transfer/SoundFileDownloadWriter.h"

#include <algorithm>
#include <cmath>

#include "transfer/SamplerRates.h"

namespace kelvora::transfer {
namespace {

constexpr size_t kOutputSamples = 8192;

int MajorFormat(DownloadFormat::Container container) {
  switch (container) {
    case DownloadFormat::Flac:
      return SF_FORMAT_FLAC;
    case DownloadFormat::Aiff:
      return SF_FORMAT_AIFF;
    default:
      return SF_FORMAT_WAV;
  }
}

}  // namespace

SoundFileDownloadWriter::SoundFileDownloadWriter(std::string path, const DownloadFormat& format)
    : path_(std::move(path)), format_(format), output_(kOutputSamples), shorts_(kOutputSamples) {}

SoundFileDownloadWriter::~SoundFileDownloadWriter() {
  if (file_ != nullptr) sf_close(file_);
}

bool SoundFileDownloadWriter::Create(const WavesampleFacts& facts) {
  const double played = PlayedRate(facts.rateCode);
  rate_ = format_.rate > 0 ? format_.rate : static_cast<int>(std::lround(played));
  SF_INFO info{};
  info.samplerate = rate_;
  info.channels = 1;
  info.format = MajorFormat(format_.container) | SF_FORMAT_PCM_16;
  file_ = sf_open(path_.c_str(), SFM_WRITE, &info);
  return file_ != nullptr;
}

bool SoundFileDownloadWriter::Begin(const WavesampleFacts& facts) {
  if (file_ == nullptr) return false;
  const double played = PlayedRate(facts.rateCode);
  const double ratio = played > 0 ? rate_ / played : 1.0;
  if (format_.rate > 0 && ratio != 1.0) {
    resampler_ = std::make_unique<Resampler>(played, rate_);
    if (!resampler_->Error().empty()) return false;
  }
  SetInstrument(facts, ratio);
  return true;
}

void SoundFileDownloadWriter::SetInstrument(const WavesampleFacts& facts, double ratio) {
  SF_INSTRUMENT instrument{};
  instrument.gain = 1;
  instrument.basenote = static_cast<char>(std::clamp(facts.rootKey, 0, 127));
  instrument.key_hi = instrument.velocity_hi = 127;
  if (facts.loop && facts.loop->start < facts.loop->end) {
    instrument.loop_count = 1;
    instrument.loops[0].mode = facts.loop->alternating ? SF_LOOP_ALTERNATING : SF_LOOP_FORWARD;
    instrument.loops[0].start = static_cast<unsigned>(std::lround(facts.loop->start * ratio));
    instrument.loops[0].end = static_cast<unsigned>(std::lround(facts.loop->end * ratio));
  }
  sf_command(file_, SFC_SET_INSTRUMENT, &instrument, sizeof instrument);
}

bool SoundFileDownloadWriter::Write(const int* words, int count) {
  input_.resize(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) input_[i] = static_cast<int16_t>(words[i] & 0xFFFF) / 32768.0f;
  if (!resampler_) return WriteSamples(input_.data(), input_.size());
  return Drain(input_.data(), input_.size());
}

// Feeds the resampler until it took everything (input nullptr: until it gave its last samples).
bool SoundFileDownloadWriter::Drain(const float* input, size_t count) {
  size_t at = 0;
  for (;;) {
    size_t used = 0;
    const long written = resampler_->Process(input ? input + at : nullptr, count - at, used,
                                             output_.data(), output_.size());
    if (written < 0 || !WriteSamples(output_.data(), static_cast<size_t>(written))) return false;
    at += used;
    if (input ? at >= count : written == 0) return true;
    if (input && used == 0 && written == 0) return false;
  }
}

bool SoundFileDownloadWriter::WriteSamples(const float* samples, size_t count) {
  for (size_t done = 0; done < count;) {
    const size_t part = std::min(count - done, shorts_.size());
    for (size_t i = 0; i < part; ++i)
      shorts_[i] = static_cast<short>(quantizer_.Quantize(samples[done + i] * 32768.0));
    if (sf_write_short(file_, shorts_.data(), static_cast<sf_count_t>(part)) !=
        static_cast<sf_count_t>(part))
      return false;
    done += part;
  }
  return true;
}

// A whole download gives the resampler's last samples; libsndfile writes the sizes on closing.
bool SoundFileDownloadWriter::Finish(int64_t written) {
  (void)written;
  bool ok = file_ != nullptr;
  if (ok && resampler_) ok = Drain(nullptr, 0);
  if (file_ != nullptr) ok = sf_close(file_) == 0 && ok;
  file_ = nullptr;
  return ok;
}

}  // namespace kelvora::transfer
