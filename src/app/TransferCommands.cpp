#include "app/TransferCommands.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QTimer>

#include "app/AutoUpload.h"
#include "app/BackupCommand.h"
#include "app/CommandTable.h"
#include "app/DownloadCommand.h"
#include "app/MainForm.h"
#include "app/MainForms.h"
#include "app/MultisampleCommand.h"
#include "diagnostics/ProgramNotice.h"
#include "dialogs/StatusForm.h"
#include "dialogs/UploadForm.h"
#include "protocol/Eps.h"
#include "transfer/UploadEngine.h"

namespace kelvora::app {

using transfer::TransferOutcome;
using transfer::TransferResult;

namespace {

// Sets a flag for as long as it lives.
class FlagWhile {
 public:
  explicit FlagWhile(bool& flag) : flag_(flag), before_(flag) { flag_ = true; }
  ~FlagWhile() { flag_ = before_; }
  FlagWhile(const FlagWhile&) = delete;
  FlagWhile& operator=(const FlagWhile&) = delete;

 private:
  bool& flag_;
  bool before_;
};

}  // namespace

TransferCommands::TransferCommands(TMainForm& form)
    : form_(form),
      uploadForm_(
          std::make_unique<dialogs::TUploadForm>(form.Eps(), form.UploadDownloadPath, &form)) {
  CommandTable& table = form_.Commands();
  table.SetHandler(Cmd::Download, [this] { DownloadClick(); });
  table.SetHandler(Cmd::Upload, [this] { UploadClick(); });
  table.SetHandler(Cmd::AutoUpload, [this] { AutoUploadClick(); });
  table.SetHandler(Cmd::UploadMultisample, [this] { UploadMultisample({}); });
  table.SetHandler(Cmd::BackUp, [this] { BackUpClick(); });
  table.SetHandler(Cmd::Restore, [this] { RestoreClick(); });
}

TransferCommands::~TransferCommands() = default;

void TransferCommands::DownloadClick() {
  if (transferring_) return;
  FlagWhile running(transferring_);
  DownloadCommand(form_).Run();
}

void TransferCommands::UploadMultisample(const QStringList& files) {
  if (transferring_) return;
  FlagWhile running(transferring_);
  MultisampleCommand(form_).Run(files);
}

void TransferCommands::BackUpClick() {
  if (transferring_) return;
  FlagWhile running(transferring_);
  BackupCommand(form_).BackUp();
}

void TransferCommands::RestoreClick() {
  if (transferring_) return;
  FlagWhile running(transferring_);
  BackupCommand(form_).Restore();
}

void TransferCommands::UploadClick() { UploadWave(QString()); }

TransferResult TransferCommands::UploadWave(const QString& fileName) {
  if (transferring_) return {TransferOutcome::Refused, "Another transfer is running.", 0};
  FlagWhile running(transferring_);
  transfer::UploadEngine engine(form_.Eps(), *form_.Forms().StatusForm,
                                [] { QApplication::processEvents(); });
  // The devices could not be opened: the session has told the user already.
  if (!engine.Begin()) return {TransferOutcome::Failed, {}, 0};
  form_.ResetView();
  form_.UpdateCommands();
  const int chosen = uploadForm_->Execute(fileName);
  if (chosen == dialogs::TUploadForm::kSeveralChosen) {
    // The named file did not go in this way, so an unattended run keeps it.
    MultisampleCommand(form_).Run(uploadForm_->Several());
    return {TransferOutcome::Cancelled, {}, 0};
  }
  if (chosen != protocol::mrOk) return {TransferOutcome::Cancelled, {}, 0};
  const std::unique_ptr<transfer::UploadSource> source = uploadForm_->TakeSource();
  // The dialog hands over only a file it could open; this is the file gone in between.
  if (!source) return {TransferOutcome::Refused, "The file could not be opened again.", 0};
  const TransferResult result = engine.Upload(uploadForm_->Choices(), *source);
  form_.UpdateCommands();
  Report(UploadedFile(), result);
  return result;
}

QString TransferCommands::UploadedFile() const { return uploadForm_->FilePath(); }

// Cancel needs no word; a refusal or a failure is told to the user, or logged when nobody is
// there to close a box after every file.
void TransferCommands::Report(const QString& fileName, const TransferResult& result) {
  if (result.Succeeded() || result.outcome == TransferOutcome::Cancelled) return;
  const QString message = result.message.empty() ? QString("The upload did not complete.")
                                                 : QString::fromStdString(result.message);
  if (unattended_) {
    diagnostics::ProgramNotice(("Upload of '" + fileName + "' failed: " + message).toStdString());
    return;
  }
  QMessageBox::warning(form_.isVisible() ? &form_ : nullptr, "Kelvora", message);
}

// In delete mode a file goes only when it went through: a cancelled or failed run keeps it,
// and so does a run in which the user picked another file in the dialog, since the named file
// may be the only copy of the sound.
void TransferCommands::UploadFiles(const QStringList& files, bool deleteSucceeded) {
  FlagWhile batch(batch_);
  for (const QString& file : files) {
    const TransferResult result = UploadWave(file);
    if (!deleteSucceeded || !result.Succeeded()) continue;
    const QString named = QFileInfo(file).canonicalFilePath();
    // A deletion that fails (missing, read-only) changes nothing else.
    if (!named.isEmpty() && named == QFileInfo(UploadedFile()).canonicalFilePath()) {
      QFile::remove(file);
    }
  }
}

void TransferCommands::AutoUploadClick() {
  const AutoUploadPlan plan = PlanAutoUpload(form_.Arguments(), QDir::current());
  {
    FlagWhile unattended(unattended_);
    UploadFiles(plan.files, plan.deleteMode);
  }
  form_.close();
}

void TransferCommands::QueueUploads(const QStringList& files) {
  if (Running() || files.isEmpty()) return;
  QTimer::singleShot(0, &form_, [this, files] {
    if (Running()) return;
    if (files.size() > 1) {
      UploadMultisample(files);
    } else {
      UploadFiles(files, false);
    }
  });
}

bool TransferCommands::UploadDialogActive() const {
  return uploadForm_->isVisible() && QApplication::activeWindow() == uploadForm_.get();
}

void TransferCommands::KeyPlayed(int key) {
  if (UploadDialogActive()) uploadForm_->KeyPlayed(key);
}

}  // namespace kelvora::app
