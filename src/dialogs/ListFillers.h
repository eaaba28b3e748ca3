#pragma once

class QListWidget;

namespace kelvora::protocol {
class TEps;
}

namespace kelvora::dialogs {

// One line of an instrument, wavesample or layer list, in the order of the lines.
struct TListEntry {
  int Number;  // instrument 0..7, wavesample slot 0..126 or layer 0..7; for "<new>" the free slot
               // (-1: none)
  bool IsNew;  // a "<new>" line: an instrument not loaded, a free wavesample slot, a free layer
  int Instrument;  // the instrument 0..7 the line belongs to
  int Layer;       // wavesample lines: the wavesample's layer; -1 for "<new>" and other lists
};

// Entry arrays: one per list, at least this long. Entries past the last line are stale.
constexpr int kInstrumentEntries = 8;
constexpr int kWaveSampleEntries = 128;  // "<new>" plus 127 wavesamples
constexpr int kLayerEntries = 8;

// The lists as the sampler's configuration (read by ReadConfig) shows them, with "<new>" lines
// when offerNew. Each selects the session's current line where it is listed, else a default.
void FillInstrumentList(QListWidget* box, TListEntry* entries, const protocol::TEps& eps,
                        bool offerNew);
// instrument -1 (or any number that is no instrument) leaves the list empty.
void FillWaveSampleList(QListWidget* box, TListEntry* entries, const protocol::TEps& eps,
                        int instrument, bool offerNew);
void FillLayerList(QListWidget* box, TListEntry* entries, const protocol::TEps& eps, int instrument,
                   bool offerNew);
// Selects the line of layer (0..7); for -1, the "<new>" wavesample, the first layer in use.
void SelectLayerOfWaveSample(QListWidget* box, const TListEntry* entries, int layer);

// The selected line of a list, -1 when no line is selected.
int SelectedLine(const QListWidget* box);

}  // namespace kelvora::dialogs
