#include "transfer/ConvertedUploadSource.h"

#include <algorithm>
#include <cmath>

#include "transfer/SamplerRates.h"

namespace kelvora::transfer {
namespace {

// Interleaved floats read at a time: a chunk of a many-channel file takes as much memory as a
// chunk of a mono one.
constexpr int kChunkSamples = 16384;
constexpr int kOutputSamples = 8192;
constexpr double kFullScale = 32768.0;

}  // namespace

ConvertedUploadSource::ConvertedUploadSource(std::unique_ptr<SoundFile> file, std::string fileName,
                                             const Conversion& conversion, const FileMarks& marks)
    : file_(std::move(file)),
      fileName_(std::move(fileName)),
      conversion_(conversion),
      ratio_(conversion.resample ? PlayedRate(conversion.rateCode) / file_->Rate() : 1.0),
      frames_(static_cast<int>(CountAfterConversion(file_->Frames(), file_->Rate(), conversion))),
      rootKey_(marks.rootKey),
      quantizer_(conversion.bits),
      chunkFrames_(std::max(1, kChunkSamples / std::max(file_->Channels(), 1))),
      frameBuffer_(static_cast<size_t>(chunkFrames_) * std::max(file_->Channels(), 1)),
      picked_(static_cast<size_t>(chunkFrames_)),
      output_(kOutputSamples) {
  if (ratio_ != 1.0) {
    resampler_ = std::make_unique<Resampler>(file_->Rate(), PlayedRate(conversion.rateCode));
  }
  if (marks.loop) {
    SourceLoop loop = *marks.loop;
    loop.start = Scaled(loop.start);
    loop.end = Scaled(loop.end);
    // A loop that vanished in the scaling, and a Morlavine loop, which starts at 0 by rule.
    if (loop.end > loop.start || loop.morlavineParam) loop_ = loop;
  }
}

int64_t ConvertedUploadSource::CountAfterConversion(int64_t frames, int fileRate,
                                                    const Conversion& conversion) {
  if (!conversion.resample || fileRate <= 0) return frames;
  const double played = PlayedRate(conversion.rateCode);
  return std::llround(static_cast<double>(frames) * played / fileRate);
}

int ConvertedUploadSource::Scaled(int64_t position) const {
  const int64_t scaled = std::llround(static_cast<double>(position) * ratio_);
  return static_cast<int>(std::clamp<int64_t>(scaled, 0, frames_));
}

int ConvertedUploadSource::Fill(int* words, int n) {
  int done = 0;
  while (done < n && emitted_ < frames_) {
    if (outputAt_ == outputCount_ && !Refill()) return -1;
    const size_t take = std::min({static_cast<size_t>(n - done), outputCount_ - outputAt_,
                                  static_cast<size_t>(frames_ - emitted_)});
    for (size_t i = 0; i < take; ++i) {
      const int sample = quantizer_.Quantize(output_[outputAt_ + i] * kFullScale);
      words[done + i] = sample & 0xFFFF;
    }
    outputAt_ += take;
    done += static_cast<int>(take);
    emitted_ += static_cast<int>(take);
  }
  return done;
}

// Makes output_ hold the next samples. Past the end of what the resampler gives, silence fills
// up to the frame count computed at the start, which may be a sample more than it gave.
bool ConvertedUploadSource::Refill() {
  outputAt_ = outputCount_ = 0;
  for (;;) {
    if (pickedAt_ == pickedCount_ && !inputEnded_ && !ReadChunk()) return false;
    if (!resampler_) {
      if (pickedAt_ == pickedCount_) break;
      outputCount_ = std::min(pickedCount_ - pickedAt_, output_.size());
      std::copy_n(picked_.begin() + pickedAt_, outputCount_, output_.begin());
      pickedAt_ += outputCount_;
      return true;
    }
    size_t used = 0;
    const bool pending = pickedAt_ < pickedCount_;
    const long written =
        resampler_->Process(pending ? picked_.data() + pickedAt_ : nullptr,
                            pickedCount_ - pickedAt_, used, output_.data(), output_.size());
    // A resampler that neither takes nor gives anything would never finish.
    if (written < 0 || (pending && used == 0 && written == 0)) return false;
    pickedAt_ += used;
    outputCount_ = static_cast<size_t>(written);
    if (outputCount_ > 0) return true;
    if (!pending) break;
  }
  std::fill(output_.begin(), output_.end(), 0.0f);
  outputCount_ = output_.size();
  return true;
}

// A file that ends before the frames it announced has changed or been cut short.
bool ConvertedUploadSource::ReadChunk() {
  const int64_t read = file_->Read(frameBuffer_.data(), chunkFrames_);
  if (read < 0) return false;
  if (read == 0) {
    if (framesRead_ < file_->Frames()) return false;
    inputEnded_ = true;
    pickedAt_ = pickedCount_ = 0;
    return true;
  }
  framesRead_ += read;
  PickChannel(frameBuffer_.data(), read, file_->Channels(), conversion_.pick, picked_.data());
  pickedAt_ = 0;
  pickedCount_ = static_cast<size_t>(read);
  return true;
}

bool ConvertedUploadSource::Restart(int bits) {
  if (!file_->Rewind()) return false;
  if (resampler_) resampler_->Clear();
  quantizer_ = TpdfQuantizer(bits);
  conversion_.bits = quantizer_.Bits();
  pickedAt_ = pickedCount_ = outputAt_ = outputCount_ = 0;
  framesRead_ = 0;
  inputEnded_ = false;
  emitted_ = 0;
  return true;
}

void ConvertedUploadSource::Close() { file_->Close(); }

}  // namespace kelvora::transfer
