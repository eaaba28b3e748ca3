#include "batch/UploadPlan.h"

#include <algorithm>

#include "batch/KeyNames.h"

namespace kelvora::batch {

namespace {

constexpr int kLayers = 8;
constexpr int kWaveSamples = 127;

std::string Instrument(int instrument) { return "instrument " + std::to_string(instrument + 1); }

std::string FileName(const PlanFile& file) { return "'" + file.path + "'"; }

// The layer the files go to, or a refusal.
int ChooseLayer(const PlanRequest& request, const InstrumentSlots& slots, std::string& refusal) {
  const int instrument = request.target.instrument;
  if (!slots.exists) {
    if (request.target.HasLayer() && request.target.layer != 0) {
      refusal = "The upload creates " + Instrument(instrument) +
                " with layer 1 only; give the target as " + std::to_string(instrument + 1) +
                " or " + std::to_string(instrument + 1) + "/1.";
    }
    return 0;
  }
  const bool anyLayer =
      std::any_of(slots.layerInUse, slots.layerInUse + kLayers, [](bool used) { return used; });
  if (request.target.HasLayer()) {
    if (anyLayer && !slots.layerInUse[request.target.layer]) {
      refusal = "Instrument " + std::to_string(instrument + 1) + " has no layer " +
                std::to_string(request.target.layer + 1) +
                "; an upload goes into a layer the instrument has.";
    }
    return request.target.layer;
  }
  if (!anyLayer || slots.layerInUse[0]) return 0;
  return static_cast<int>(std::find(slots.layerInUse, slots.layerInUse + kLayers, true) -
                          slots.layerInUse);
}

// The wavesample numbers, one per file, or a refusal.
std::vector<int> ChooseWaveSamples(const PlanRequest& request, const InstrumentSlots& slots,
                                   size_t count, std::string& refusal) {
  const int instrument = request.target.instrument;
  std::vector<int> numbers;
  if (request.target.HasWaveSample()) {
    const int first = request.target.waveSample;
    if (!slots.exists && first != 1) {
      refusal = "The upload creates " + Instrument(instrument) +
                " with wavesample 1 first; give the target without a wavesample or with 1.";
    } else if (first + static_cast<int>(count) - 1 > kWaveSamples) {
      refusal = std::to_string(count) + " files from wavesample " + std::to_string(first) +
                " would pass wavesample 127 of " + Instrument(instrument) + ".";
    }
    for (size_t i = 0; i < count; ++i) numbers.push_back(first + static_cast<int>(i));
    return numbers;
  }
  for (int w = 1; w <= kWaveSamples && numbers.size() < count; ++w) {
    if (!slots.exists || !slots.waveSampleInUse[w - 1]) numbers.push_back(w);
  }
  if (numbers.size() < count) {
    refusal = "The " + std::to_string(count) + " files need " + std::to_string(count) +
              " free wavesamples, and " + Instrument(instrument) + " has " +
              std::to_string(numbers.size()) + " free.";
  }
  return numbers;
}

// Auto ranges: halfway between neighbouring roots (the lower key to the lower file), the outer
// files reaching the keyboard's ends, or their roots where those lie beyond.
void SplitRanges(std::vector<PlannedFile>& files) {
  for (size_t i = 0; i < files.size(); ++i) {
    PlannedFile& file = files[i];
    file.range = RangeRule::Custom;
    file.low = i == 0 ? std::min(kKeyboardLow, file.rootKey) : files[i - 1].high + 1;
    file.high = i + 1 == files.size() ? std::max(kKeyboardHigh, file.rootKey)
                                      : (file.rootKey + files[i + 1].rootKey) / 2;
  }
}

std::string CheckRoots(const std::vector<PlannedFile>& files, RangeRule rule) {
  for (const PlannedFile& file : files) {
    if (!file.file.rootKey) {
      return "The root key of " + FileName(file.file) +
             " is neither in its metadata nor in its name; give it with --root.";
    }
  }
  if (rule != RangeRule::Auto) return {};
  for (size_t i = 1; i < files.size(); ++i) {
    if (files[i].rootKey == files[i - 1].rootKey) {
      return FileName(files[i - 1].file) + " and " + FileName(files[i].file) +
             " both have the root key " + KeyLabel(files[i].rootKey) +
             ", so their key ranges cannot be split between them.";
    }
  }
  return {};
}

void ApplyRanges(std::vector<PlannedFile>& files, const PlanRequest& request) {
  if (request.range == RangeRule::Auto) return SplitRanges(files);
  for (PlannedFile& file : files) {
    file.range = request.range;
    if (request.range == RangeRule::Root) file.low = file.high = file.rootKey;
    if (request.range == RangeRule::Custom) {
      file.low = request.low;
      file.high = request.high;
    }
  }
}

}  // namespace

UploadPlan PlanUpload(const PlanRequest& request, const std::vector<PlanFile>& files,
                      const InstrumentSlots& slots) {
  UploadPlan plan;
  plan.instrument = request.target.instrument;
  for (const PlanFile& file : files) {
    PlannedFile planned;
    planned.file = file;
    planned.rootKey = file.rootKey.value_or(60);
    plan.files.push_back(planned);
    plan.memoryBlocks += file.memoryBlocks;
    plan.wireSeconds += file.wireSeconds;
  }
  if (request.range == RangeRule::Auto) {
    std::stable_sort(
        plan.files.begin(), plan.files.end(),
        [](const PlannedFile& a, const PlannedFile& b) { return a.rootKey < b.rootKey; });
  }
  plan.refusal = CheckRoots(plan.files, request.range);
  std::string layerRefusal;
  std::string slotRefusal;
  const int layer = ChooseLayer(request, slots, layerRefusal);
  const std::vector<int> numbers = ChooseWaveSamples(request, slots, files.size(), slotRefusal);
  for (const std::string* refusal : {&layerRefusal, &slotRefusal}) {
    if (plan.refusal.empty()) plan.refusal = *refusal;
  }
  for (size_t i = 0; i < plan.files.size() && i < numbers.size(); ++i) {
    PlannedFile& file = plan.files[i];
    file.layer = layer;
    file.waveSample = numbers[i];
    file.replaces =
        slots.exists && numbers[i] <= kWaveSamples && slots.waveSampleInUse[numbers[i] - 1];
  }
  ApplyRanges(plan.files, request);
  return plan;
}

}  // namespace kelvora::batch
