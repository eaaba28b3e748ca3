#include "batch/RestorePlan.h"

#include "batch/DataFetcher.h"
#include "protocol/Occupancy.h"
#include "protocol/Records.h"

namespace kelvora::batch {

namespace {

using protocol::kInstruments;

int FirstFree(const bool (&taken)[kInstruments]) {
  for (int slot = 0; slot < kInstruments; ++slot) {
    if (!taken[slot]) return slot;
  }
  return -1;
}

std::string Slot(int index) { return "instrument " + std::to_string(index + 1); }

std::string Named(const InstrumentImage& instrument) {
  const std::string name = instrument.Name();
  return Slot(instrument.index) + (name.empty() ? "" : " (" + name + ")");
}

}  // namespace

bool RestorePlan::Make(const Snapshot& backup, const Snapshot& sampler,
                       const RestoreOptions& options, std::string& refusal) {
  moves_.clear();
  limits_.clear();
  files_ = 0;
  samples_ = 0;
  if (!Choose(backup, sampler, options, refusal)) return false;
  for (const Move& move : moves_) {
    if (!CheckWhole(*backup.Find(move.from), refusal)) return false;
  }
  AddLimits(backup);
  return true;
}

bool RestorePlan::Choose(const Snapshot& backup, const Snapshot& sampler,
                         const RestoreOptions& options, std::string& refusal) {
  if (options.instrument >= 0 && !backup.Find(options.instrument)) {
    refusal = "The backup holds no " + Slot(options.instrument) + ".";
    return false;
  }
  if (options.to >= 0 && options.instrument < 0 && backup.instruments.size() != 1) {
    refusal = "The backup holds " + std::to_string(backup.instruments.size()) +
              " instruments; name the one to restore into " + Slot(options.to) + ".";
    return false;
  }
  bool taken[kInstruments] = {};
  for (const InstrumentImage& loaded : sampler.instruments) taken[loaded.index] = true;
  for (const InstrumentImage& instrument : backup.instruments) {
    if (options.instrument >= 0 && instrument.index != options.instrument) continue;
    int to = options.to >= 0 ? options.to : instrument.index;
    if (options.to >= 0 && taken[to]) {
      const std::string name = sampler.Find(to)->Name();
      refusal = "Instrument " + std::to_string(to + 1) + " of the sampler is in use" +
                (name.empty() ? "" : " (" + name + ")") + "; delete it first or name a free slot.";
      return false;
    }
    if (taken[to]) to = FirstFree(taken);
    if (to < 0) {
      refusal = "No instrument slot of the sampler is free for " + Named(instrument) + ".";
      return false;
    }
    taken[to] = true;
    moves_.push_back({instrument.index, to});
  }
  return true;
}

// Every record must have come back from its file, and every wavesample that holds data must
// have its data in the folder; a copy needs its source.
bool RestorePlan::CheckWhole(const InstrumentImage& instrument, std::string& refusal) {
  const auto fail = [&](const std::string& what) {
    refusal = what + "; run the backup again to complete it before restoring.";
    return false;
  };
  if (instrument.record.empty()) return fail("The record of " + Named(instrument) + " is damaged");
  for (const LayerImage& layer : instrument.layers) {
    if (layer.record.empty()) {
      return fail("The record of layer " + std::to_string(layer.index + 1) + " of " +
                  Named(instrument) + " is damaged");
    }
  }
  for (const WaveSampleImage& ws : instrument.waveSamples) {
    const std::string label = WaveSampleLabel(instrument, ws);
    if (ws.record.empty()) return fail("The record of " + label + " is damaged");
    const int copyOf = ws.CopyOf();
    if (copyOf != 0 && !instrument.Find(copyOf)) {
      return fail(label + " plays the data of wavesample " + std::to_string(copyOf) +
                  ", which the backup does not hold");
    }
    const int64_t length = copyOf ? 0 : instrument.DataLength(ws.number);
    if (length > 0 && (!ws.data || ws.data->samples != length)) {
      return fail("The data of " + label + " is missing or damaged");
    }
    if (length > 0) {
      ++files_;
      samples_ += length;
    }
  }
  return true;
}

void RestorePlan::AddLimits(const Snapshot& backup) {
  limits_.push_back(
      "Pitch tables and effects live in the sampler's memory outside the instrument, layer and "
      "wavesample records; no message reads or writes them, so they are not in the backup and "
      "the instruments get the sampler's defaults.");
  limits_.push_back(
      "Of each instrument record only the name, the patch layers, the key range and the "
      "transposition are written back; its other words place the layers, wavesamples, pitch "
      "tables and effect in the sampler's memory, or are undocumented, and stay as the sampler "
      "sets them.");
  for (const Move& move : moves_) {
    const InstrumentImage& instrument = *backup.Find(move.from);
    for (const WaveSampleImage& ws : instrument.waveSamples) {
      const std::string label = WaveSampleLabel(instrument, ws);
      if (ws.CopyOf() != 0) {
        limits_.push_back(label + " played the data of wavesample " + std::to_string(ws.CopyOf()) +
                          "; no command makes such a copy, so it comes back with a copy of that "
                          "data of its own, made by the sampler (it takes memory, not wire time).");
      }
      if (ws.layer < 0) {
        limits_.push_back(label +
                          " was on no key of any layer, so its layer is not known; it "
                          "goes into layer " +
                          std::to_string(LayerOf(instrument, ws) + 1) + ".");
      }
    }
  }
}

std::vector<int> RestorePlan::Order(const InstrumentImage& instrument) {
  std::vector<int> order;
  for (bool copies : {false, true}) {
    for (const WaveSampleImage& ws : instrument.waveSamples) {
      if ((ws.CopyOf() != 0) == copies) order.push_back(ws.number);
    }
  }
  return order;
}

int RestorePlan::LayerOf(const InstrumentImage& instrument, const WaveSampleImage& ws) {
  if (ws.layer >= 0) return ws.layer;
  return instrument.layers.empty() ? 0 : instrument.layers.front().index;
}

}  // namespace kelvora::batch
