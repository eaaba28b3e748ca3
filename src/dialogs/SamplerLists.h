#pragma once

#include <QWidget>
#include <functional>

#include "dialogs/SamplerListControls.h"

class QPoint;

namespace kelvora::protocol {
class TEps;
}

namespace kelvora::dialogs {

class TRenameInstrForm;

// The sampler's instrument and wavesample lists, and where asked for its layer list, side by
// side with their labels and popup menus: what the browser and the upload dialog show. Choosing
// an instrument lists its wavesamples (and layers); choosing a wavesample selects its layer.
// Keys: Del deletes the line of the focused list, F2 renames the selected instrument, F5 anywhere
// in the window asks for a refresh. Rename and Delete go to the sampler at once, then ask for a
// refresh; a port failure ends them with a message box. A line's text may be rewritten after a
// fill: lines are told apart by their entries and the selection, never by their text.
class SamplerLists : public QWidget, public SamplerListControls {
  Q_OBJECT

 public:
  SamplerLists(protocol::TEps& eps, bool withLayers, QWidget* parent = nullptr);

  // "<new>" lines offer the free instruments, wavesample slots and layers as targets.
  void SetOfferNew(bool offerNew);
  // Reads the sampler's configuration, then fills; port failures pass to the caller.
  void ReadAndFill();
  // Fills the lists from the configuration last read, selecting as the fillers do.
  void Fill();
  // Run around everything of the lists that talks to the sampler (a reading, a rename, a
  // delete), the dialogs it shows on the way included.
  void SetCommandHooks(std::function<void()> before, std::function<void()> after);
  // How the width is shared between the lists, by column (0 instruments, 1 wavesamples).
  void SetColumnStretch(int column, int stretch);
  // The selected line's entry; nullptr when the list has no selected line or is not shown.
  const TListEntry* SelectedInstrument() const;
  const TListEntry* SelectedWaveSample() const;
  const TListEntry* SelectedLayer() const;

  TRenameInstrForm* RenameInstrForm;

 Q_SIGNALS:
  // A Refresh item or F5, or a list command that changed the sampler.
  void RefreshRequested();
  // The selected line of a list changed, by the user or by a fill.
  void SelectionChanged();
  // A double click on a line of the instrument or wavesample list.
  void LineActivated();
  // The wavesample (and layer) lines were filled for the selected instrument.
  void Filled();

 private:
  void BuildLists(bool withLayers);
  void BuildMenus();
  void BuildKeys();
  void BuildLayout();
  void FillOfSelectedInstrument();
  void UpdateActions();
  void InstrumentChosen();
  void WaveSampleChosen();
  void LayerChosen();
  void ConnectPopup(QListWidget* box, QMenu* menu);
  // Runs a list command; a refresh follows one that asked the sampler for a change.
  void RunListCommand(const std::function<bool()>& command);

  protocol::TEps& eps_;
  bool offerNew_ = false;
  std::function<void()> beforeCommand_;
  std::function<void()> afterCommand_;
  QAction* refreshKey_ = nullptr;
  TListEntry instruments_[kInstrumentEntries]{};
  TListEntry waveSamples_[kWaveSampleEntries]{};
  TListEntry layers_[kLayerEntries]{};
};

}  // namespace kelvora::dialogs
