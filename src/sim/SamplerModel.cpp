#include "sim/SamplerModel.h"

#include <algorithm>

namespace kelvora::sim {

std::string ModelName(SamplerModel model) {
  switch (model) {
    case SamplerModel::Eps:
      return "EPS";
    case SamplerModel::Eps16Plus:
      return "EPS-16 PLUS";
    case SamplerModel::Asr10:
      return "ASR-10";
  }
  return "EPS-16 PLUS";
}

int64_t DefaultMemoryWords(SamplerModel model) {
  switch (model) {
    case SamplerModel::Eps:
      return 256 * 1024;
    case SamplerModel::Eps16Plus:
      return 512 * 1024;
    case SamplerModel::Asr10:
      return 1024 * 1024;
  }
  return 512 * 1024;
}

int InstrumentId(SamplerModel model) {
  switch (model) {
    case SamplerModel::Eps:
      return 0x0000;
    case SamplerModel::Eps16Plus:
      return 0xFFFF;
    case SamplerModel::Asr10:
      return 0xFFFE;
  }
  return 0xFFFF;
}

int16_t StoredSample(SamplerModel model, int value) {
  const int saturated = std::clamp(value, -32768, 32767);
  if (model == SamplerModel::Eps) return static_cast<int16_t>(saturated & ~7);
  return static_cast<int16_t>(saturated);
}

}  // namespace kelvora::sim
