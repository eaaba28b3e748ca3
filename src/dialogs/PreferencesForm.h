#pragma once

#include <QDialog>

#include "transfer/DownloadWriter.h"

class QComboBox;
class QLabel;
class QPushButton;
class QScrollBar;

namespace kelvora::protocol {
class TEps;
}
namespace kelvora::controls {
class TChannelComboBox;
class TMidiInComboBox;
class TMidiOutComboBox;
}  // namespace kelvora::controls

namespace kelvora::dialogs {

// "Preferences": the MIDI devices and channel through which the sampler is reached, the
// transfer block size and delay, and the file a download writes. It edits the live session, its
// ports and the main window's download format and keeps no copy: each run loads the controls
// afresh and writes back only on OK.
class TPreferencesForm : public QDialog {
  Q_OBJECT

 public:
  TPreferencesForm(protocol::TEps& eps, transfer::DownloadFormat& download,
                   QWidget* parent = nullptr);

  // Returns the modal result, 1 (OK) or 2 (Cancel, also for closing the window).
  int Execute();

  controls::TMidiInComboBox* MidiInComboBox;
  controls::TMidiOutComboBox* MidiOutComboBox;
  controls::TChannelComboBox* ChannelComboBox;
  QScrollBar* BlockSizeScrollBar;     // samples per transfer block, 256..10240
  QScrollBar* DelayScrollBar;         // ms before each upload block, 0..4000
  QLabel* BlockSizeValue;             // "4096 words"
  QLabel* DelayValue;                 // "120 ms"
  QLabel* TransferTime;               // what the two cost a second of sound on the wire
  QComboBox* DownloadFormatComboBox;  // WAV, FLAC, AIFF
  QComboBox* DownloadRateComboBox;    // the sampler's rate, 44100 Hz, 48000 Hz
  QPushButton* OkButton;
  QPushButton* CancelButton;
  QPushButton* HelpButton;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void BuildLayout();
  void LoadControls();
  void WriteBack();
  void ShowValues();

  protocol::TEps& eps_;
  transfer::DownloadFormat& download_;
};

}  // namespace kelvora::dialogs
