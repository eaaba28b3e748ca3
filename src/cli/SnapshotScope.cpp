#include "cli/SnapshotScope.h"

#include "batch/SnapshotReader.h"
#include "cli/Interrupt.h"
#include "protocol/Occupancy.h"

namespace kelvora::cli {

bool ReadSnapshot(protocol::TEps& eps, const std::optional<batch::SlotPath>& slot,
                  batch::Snapshot& snapshot, std::string& failure) {
  batch::SnapshotReader reader(eps);
  for (int i = 0; i < protocol::kInstruments && !Interrupt::Requested(); ++i) {
    if (slot && i != slot->instrument) continue;
    batch::InstrumentImage image;
    bool present = false;
    if (!reader.ReadInstrument(i, image, present, failure)) return false;
    if (present) snapshot.instruments.push_back(std::move(image));
  }
  return true;
}

void Narrow(batch::Snapshot& snapshot, const batch::SlotPath& slot) {
  for (batch::InstrumentImage& instrument : snapshot.instruments) {
    if (slot.HasLayer()) {
      std::erase_if(instrument.layers,
                    [&](const batch::LayerImage& layer) { return layer.index != slot.layer; });
    }
    std::erase_if(instrument.waveSamples, [&](const batch::WaveSampleImage& ws) {
      return (slot.HasLayer() && ws.layer != slot.layer) ||
             (slot.HasWaveSample() && ws.number != slot.waveSample);
    });
  }
}

std::string Missing(const batch::Snapshot& snapshot, const batch::SlotPath& slot) {
  const std::string instrument = "instrument " + std::to_string(slot.instrument + 1);
  if (snapshot.instruments.empty()) return "The sampler holds no " + instrument + ".";
  const batch::InstrumentImage& image = snapshot.instruments.front();
  if (slot.HasLayer() && image.layers.empty()) {
    return "The sampler's " + instrument + " has no layer " + std::to_string(slot.layer + 1) + ".";
  }
  if (slot.HasWaveSample() && image.waveSamples.empty()) {
    return "The sampler holds no wavesample " + batch::FormatSlotPath(slot) + ".";
  }
  return {};
}

}  // namespace kelvora::cli
