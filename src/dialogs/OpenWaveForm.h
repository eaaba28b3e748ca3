#pragma once

#include <QDialog>

#include "dialogs/ListFillers.h"

class QAction;
class QLabel;
class QListWidget;
class QMenu;
class QPushButton;

namespace kelvora::protocol {
class TEps;
}

namespace kelvora::dialogs {

class TNoInstrForm;
class TRenameInstrForm;

enum TBrowseMode { bmOpen = 0, bmUpload = 1, bmDownload = 2 };

// The instrument and wavesample browser: the user picks one wavesample of an instrument loaded in
// the sampler, and can rename or delete instruments, delete wavesamples and read the sampler's
// configuration again. Every list comes from a fresh ReadConfig.
class TOpenWaveForm : public QDialog {
 public:
  TOpenWaveForm(protocol::TEps& eps, QWidget* parent = nullptr);

  // Runs the browser. 1 (OK): the session's Instrument and WaveSample (and the wavesample's
  // Layer, where known) are the chosen ones. 2 (Cancel): cancelled, or nothing could be listed.
  // The caller has opened the devices.
  int Execute(TBrowseMode mode);
  // Reads the configuration again and fills both lists; with no instrument loaded, asks the user
  // to load one (TNoInstrForm) as often as "Continue ->" is pressed.
  void Refresh();

  TBrowseMode Mode = bmOpen;
  TListEntry InstrumentEntries[kInstrumentEntries]{};
  TListEntry WaveSampleEntries[kWaveSampleEntries]{};

  QLabel* InstrumentLabel;
  QLabel* WavesampleLabel;
  QListWidget* InstrumentListBox;
  QListWidget* WaveSampleListBox;
  QPushButton* OkButton;
  QPushButton* CancelButton;
  QMenu* InstrumentPopupMenu;
  QAction* RenameMenuItem;
  QAction* DeleteInsMenuItem;
  QAction* RefreshInsMenuItem;
  QMenu* WaveSamplePopupMenu;
  QAction* DeleteWsMenuItem;
  QAction* RefreshWsMenuItem;
  QMenu* PopupMenu;
  QAction* Refresh1;

  TNoInstrForm* NoInstrForm;
  TRenameInstrForm* RenameInstrForm;

  // OK only with a wavesample line that stands for a wavesample slot.
  void accept() override;
  void reject() override;

 private:
  void BuildLists();
  void BuildMenus();
  void BuildLayout();
  bool OfferNew() const { return Mode == bmUpload; }
  bool FillOnce();
  void FillWaveSamplesOfSelectedInstrument();
  // The selected line's entry, or nullptr when the list has no selected line.
  const TListEntry* SelectedInstrument() const;
  const TListEntry* SelectedWaveSample() const;
  bool CanAccept() const;
  void UpdateActions();
  void HandOver();

  void InstrumentSelectionChanged();
  void ShowInstrumentPopup(const QPoint& pos);
  void ShowWaveSamplePopup(const QPoint& pos);
  void RenameClick();
  void DeleteInstrumentClick();
  void DeleteWaveSampleClick();

  protocol::TEps& eps_;
};

}  // namespace kelvora::dialogs
