#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

#include "dialogs/SamplerListControls.h"
#include "transfer/UploadChoices.h"
#include "transfer/UploadSources.h"

class QComboBox;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTemporaryDir;
class QToolButton;

namespace kelvora::protocol {
class TEps;
}

namespace kelvora::dialogs {

class SamplerLists;
class TAudition;
class TRenameInstrForm;
class UploadSoundBox;

// "Upload": what to upload and where. The user picks an audio file of any format libsndfile
// reads, the target instrument, wavesample and layer, the root key, the key range, for a file
// of several channels the channel to take, and the rate the sampler is to play. The dialog shows
// the file's format and what the upload will do before it starts. No button is the default:
// Enter checks the typed file name and never starts an upload.
class TUploadForm : public QDialog, public SamplerListControls {
 public:
  // uploadDownloadPath is the main window's folder memory; Select... writes it.
  TUploadForm(protocol::TEps& eps, QString& uploadDownloadPath, QWidget* parent = nullptr);
  ~TUploadForm() override;

  // Execute's result when several files were chosen with Select...: they are for the
  // multisample plan, listed by Several().
  static constexpr int kSeveralChosen = 3;

  // Runs the dialog; fileName (may be empty) is a full path. Returns 1 (OK) after an accepted
  // Upload, then the session's Instrument, WaveSample and Layer are the chosen ones;
  // kSeveralChosen; 2 otherwise.
  int Execute(const QString& fileName);
  const QStringList& Several() const { return several_; }
  // A key played on the sampler: the key list that has the focus selects it (clamped to 21..108).
  void KeyPlayed(int note);
  // The upload source of the chosen file, made for the choices, after OK; taken once.
  std::unique_ptr<transfer::UploadSource> TakeSource();
  // The full path of the file bound last.
  QString FilePath() const { return filePath_; }
  // What the bound file is and what its upload will do (empty when it cannot be uploaded).
  const transfer::SourcePlan& Plan() const { return opened_.plan; }
  // The hand-over after OK: target, keys, range and channel.
  transfer::UploadChoices Choices() const;

  // MIDI notes 21..108 and the channel (1 left, 2 right, 3 mono, 4 the numbered Channel, from
  // 0), set on OK.
  int RootKey = 60, LoKey = 21, HiKey = 108, ChannelMode = 3, Channel = 0;

  // Asks the user for existing files, starting in the given folder; empty when cancelled.
  // Replaceable so that tests need no file dialog.
  std::function<QStringList(const QString& folder)> ChooseFile;

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
  QRadioButton* ChannelRadio;  // one channel of a file of more than two, by number
  QSpinBox* ChannelSpinBox;
  UploadSoundBox* SoundBox;
  TRenameInstrForm* RenameInstrForm;
  TAudition* Audition;

  // Reads the sampler's configuration again and fills the three lists.
  void Refresh();
  // Binds the typed name to the file's upload source and enables what the file allows.
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
  // The source of the bound file for these options.
  void BindSource(const transfer::SourceOptions& options);
  transfer::SourceOptions Options() const;
  void UpdateChannels(int channels);
  void UpdatePlan();
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
  QString filePath_;
  QStringList several_;
  transfer::OpenedSource opened_;
  std::unique_ptr<QTemporaryDir> auditionDir_;  // what Audition plays, made on first use
};

}  // namespace kelvora::dialogs
