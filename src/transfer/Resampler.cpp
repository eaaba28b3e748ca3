#include "transfer/Resampler.h"

namespace kelvora::transfer {

Resampler::Resampler(double inputRate, double outputRate) {
  const soxr_io_spec_t io = soxr_io_spec(SOXR_FLOAT32_I, SOXR_FLOAT32_I);
  const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_VHQ, 0);
  soxr_error_t error = nullptr;
  soxr_ = soxr_create(inputRate, outputRate, 1, &error, &io, &quality, nullptr);
  if (error != nullptr) {
    error_ = error;
    soxr_delete(soxr_);
    soxr_ = nullptr;
  }
}

Resampler::~Resampler() { soxr_delete(soxr_); }

long Resampler::Process(const float* input, size_t inputCount, size_t& used, float* output,
                        size_t capacity) {
  used = 0;
  if (soxr_ == nullptr) return -1;
  size_t written = 0;
  const soxr_error_t error =
      input == nullptr ? soxr_process(soxr_, nullptr, 0, nullptr, output, capacity, &written)
                       : soxr_process(soxr_, input, inputCount, &used, output, capacity, &written);
  if (error != nullptr) return -1;
  return static_cast<long>(written);
}

void Resampler::Clear() {
  if (soxr_ != nullptr) soxr_clear(soxr_);
}

}  // namespace kelvora::transfer
