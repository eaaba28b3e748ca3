#pragma once

#include <QString>
#include <QStringList>
#include <memory>

#include "transfer/TransferResult.h"

namespace kelvora::dialogs {
class TUploadForm;
}

namespace kelvora::app {

class TMainForm;

// The transfer commands of the main window: Download..., Upload..., Back Up Sampler...,
// Restore..., the unattended upload of the
// files named on the command line and the upload of files dropped on the window.
class TransferCommands {
 public:
  explicit TransferCommands(TMainForm& form);
  ~TransferCommands();

  void DownloadClick();
  void UploadClick();  // UploadWave with no file chosen yet
  // Several audio files into one instrument, planned in the multisample window; `files` empty:
  // chosen in a file dialog first.
  void UploadMultisample(const QStringList& files);
  void BackUpClick();
  void RestoreClick();
  // Runs the upload dialog (with fileName already chosen when not empty) and the transfer. Only
  // a result that Succeeded() means the whole file reached the sampler.
  transfer::TransferResult UploadWave(const QString& fileName);
  // The files named on the command line, one after the other; then the program ends.
  void AutoUploadClick();
  // Dropped files, once the drop has returned: one goes through the upload dialog, several into
  // the multisample plan; nothing is deleted and the program goes on. Ignored while a transfer
  // runs.
  void QueueUploads(const QStringList& files);

  // A download, an upload or a run of uploads is under way.
  bool Running() const { return transferring_ || batch_; }
  // Keys played on the sampler choose keys in the upload dialog while it is the active window.
  bool UploadDialogActive() const;
  void KeyPlayed(int key);

  dialogs::TUploadForm& UploadForm() { return *uploadForm_; }

 private:
  void UploadFiles(const QStringList& files, bool deleteSucceeded);
  void Report(const QString& fileName, const transfer::TransferResult& result);
  QString UploadedFile() const;  // the file the dialog last handed over

  TMainForm& form_;
  std::unique_ptr<dialogs::TUploadForm> uploadForm_;
  bool transferring_ = false;
  bool batch_ = false;
  bool unattended_ = false;  // failures go to the log instead of a box the user must close
};

}  // namespace kelvora::app
