#pragma once

#include <QDialog>

#include "dialogs/SamplerListControls.h"

class QAction;
class QMenu;
class QPushButton;

namespace kelvora::protocol {
class TEps;
}

namespace kelvora::dialogs {

class BrowserDetails;
class SamplerLists;
class TNoInstrForm;
class TRenameInstrForm;

enum TBrowseMode { bmOpen = 0, bmUpload = 1, bmDownload = 2 };

// The instrument and wavesample browser: the user picks one wavesample of an instrument loaded in
// the sampler, and can rename or delete instruments, delete wavesamples and read the sampler's
// configuration again. Every list comes from a fresh ReadConfig.
class TOpenWaveForm : public QDialog, public SamplerListControls {
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

  SamplerLists* Lists;
  QPushButton* OkButton;
  QPushButton* CancelButton;
  QMenu* PopupMenu;
  QAction* Refresh1;

  TNoInstrForm* NoInstrForm;
  TRenameInstrForm* RenameInstrForm;

  BrowserDetails* Details;

  // OK only with a wavesample line that stands for a wavesample slot.
  void accept() override;
  void reject() override;
  // The lazy reading of details ends before the dialog does, between two exchanges.
  void done(int result) override;

 private:
  void BuildLayout();
  bool FillOnce();
  bool CanAccept() const;
  void UpdateOk();
  void HandOver();
  // Refresh from the dialog's own controls: a port failure is shown, the browser stays open.
  void RefreshClick();

  protocol::TEps& eps_;
};

}  // namespace kelvora::dialogs
