#pragma once

#include <QString>

namespace kelvora::app {

class TMainForm;

// The transfer commands of the main window: Download..., Upload... and the unattended upload of
// the files named on the command line. The download and upload engines and the upload dialog
// come in their own piece of work; until then these commands say so instead of pretending.
class TransferCommands {
 public:
  explicit TransferCommands(TMainForm& form);

  void DownloadClick();
  void UploadClick();  // UploadWave with no file chosen yet
  // Runs the upload dialog (with fileName already chosen when not empty) and the transfer.
  // True only when the file reached the sampler.
  bool UploadWave(const QString& fileName);
  // The files named on the command line, one after the other; then the program ends.
  void AutoUploadClick();

  // Keys played on the sampler choose keys in the upload dialog while it is the active window.
  bool UploadDialogActive() const;
  void KeyPlayed(int key);

 private:
  void NotAvailable(const QString& what);

  TMainForm& form_;
};

}  // namespace kelvora::app
