#include "app/TransferCommands.h"

#include <QMessageBox>

#include "app/CommandTable.h"
#include "app/MainForm.h"

namespace kelvora::app {

TransferCommands::TransferCommands(TMainForm& form) : form_(form) {
  CommandTable& table = form_.Commands();
  table.SetHandler(Cmd::Download, [this] { DownloadClick(); });
  table.SetHandler(Cmd::Upload, [this] { UploadClick(); });
  table.SetHandler(Cmd::AutoUpload, [this] { AutoUploadClick(); });
}

void TransferCommands::NotAvailable(const QString& what) {
  QMessageBox::information(form_.isVisible() ? &form_ : nullptr, "Kelvora",
                           what + " is not available in this build of Kelvora.");
}

void TransferCommands::DownloadClick() { NotAvailable("Downloading wavesamples"); }

void TransferCommands::UploadClick() { UploadWave(QString()); }

bool TransferCommands::UploadWave(const QString&) {
  NotAvailable("Uploading WAV files");
  return false;
}

// Nothing is uploaded yet, so no file is deleted even with "/DEL"; the hidden program ends.
void TransferCommands::AutoUploadClick() {
  NotAvailable("Uploading from the command line");
  form_.close();
}

bool TransferCommands::UploadDialogActive() const { return false; }

void TransferCommands::KeyPlayed(int) {}

}  // namespace kelvora::app
