#pragma once

#include <QDialog>
#include <QString>
#include <functional>
#include <memory>

#include "dialogs/SamplerListControls.h"
#include "transfer/RiffFile.h"
#include "transfer/UploadChoices.h"

class QComboBox;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace kelvora::protocol {
class TEps;
}

namespace kelvora::dialogs {

class SamplerLists;
class TAudition;
class TRenameInstrForm;

// "Upload": what to upload and where. The user picks a WAV file, the target instrument,
// wavesample and layer, the root key, the key range and, for a stereo file, the channel to take.
// No button is the default: Enter checks the typed file name and never starts an upload.
class TUploadForm : public QDialog, public SamplerListControls {
 public:
  // uploadDownloadPath is the main window's folder memory; Select... writes it.
  TUploadForm(protocol::TEps& eps, QString& uploadDownloadPath, QWidget* parent = nullptr);
  ~TUploadForm() override;

  // Runs the dialog; fileName (may be empty) is a full path. Returns 1 (OK) after an accepted
  // Upload, then the session's Instrument, WaveSample and Layer are the chosen ones; 2 otherwise.
  int Execute(const QString& fileName);
  // A key played on the sampler: the key list that has the focus selects it (clamped to 21..108).
  void KeyPlayed(int note);
  // Bound to the chosen file with its header read, after OK.
  transfer::TRiffFile& RiffFile();
  // The hand-over after OK: target, keys, range and channel.
  transfer::UploadChoices Choices() const;

  // MIDI notes 21..108 and the channel (1 left, 2 right, 3 mono), set on OK.
  int RootKey = 60, LoKey = 21, HiKey = 108, ChannelMode = 3;

  // Asks the user for an existing file, starting in the given folder; empty when cancelled.
  // Replaceable so that tests need no file dialog.
  std::function<QString(const QString& folder)> ChooseFile;

  QString UploadDir;  // the folder against which the typed name is resolved

  QLabel* Label4;
  QLineEdit* FileNameEdit;
  QToolButton* AuditButton;
  QPushButton* SelectButton;
  QPushButton* UploadButton;
  QPushButton* Button3;  // Cancel
  QPushButton* Button4;  // Help
  SamplerLists* Lists;
  QLabel* Label5;
  QComboBox* RootKeyComboBox;
  QGroupBox* GroupBox2;
  QRadioButton* FullRangeRadio;
  QRadioButton* KeyRangeRadio;
  QRadioButton* CustomRangeRadio;
  QLabel* Label1;
  QComboBox* LoKeyComboBox;
  QLabel* Label3;
  QComboBox* HiKeyComboBox;
  QGroupBox* ChannelsGroupBox;
  QRadioButton* MonoRadio;
  QRadioButton* LeftRadio;
  QRadioButton* RightRadio;
  TRenameInstrForm* RenameInstrForm;
  TAudition* Audition;

  // Reads the sampler's configuration again and fills the three lists.
  void Refresh();
  // Binds the typed name to RiffFile and enables what the file allows.
  void CheckFile();

  void accept() override;
  void reject() override;

 protected:
  // Enter presses the focused button and nothing else (the file-name field checks the file).
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void BuildFileRow();
  void BuildKeys();
  void BuildLayout();
  QString FullPath() const;
  // Empty when the bound file, the chosen target and the keys can be handed to the upload, else
  // why not.
  QString Refusal() const;
  QString KeyRangeRefusal() const;
  // Checks the typed name; tells the user when it names no file.
  bool FileExists();
  void HandOver();

  void FileNameEdited(const QString& text);
  void RangeClicked();
  void SelectClick();
  void AuditClick();
  void HelpClick();
  // Refresh from the lists' own commands: a port failure is shown, the dialog stays open.
  void RefreshClick();

  protocol::TEps& eps_;
  QString& uploadDownloadPath_;
  std::unique_ptr<transfer::TRiffFile> riffFile_;
};

}  // namespace kelvora::dialogs
