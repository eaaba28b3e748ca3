#include "app/DownloadCommand.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "app/MainForm.h"
#include "app/MainForms.h"
#include "dialogs/OpenWaveForm.h"
#include "dialogs/StatusForm.h"
#include "protocol/Eps.h"
#include "protocol/Records.h"
#include "transfer/DownloadEngine.h"
#include "transfer/TransferResult.h"

namespace kelvora::app {

namespace {

// Whatever way the command ends (an answer, a failure, an exception from a port), the main window
// is usable again and every hourglass it started is gone.
class RestoreOnExit {
 public:
  explicit RestoreOnExit(TMainForm& form)
      : form_(form), enabled_(form.isEnabled()), waits_(form.WaitCount()) {}
  ~RestoreOnExit() {
    dialogs::TStatusForm* status = form_.Forms().StatusForm;
    if (status->isVisible()) status->HideProgress();
    form_.setEnabled(enabled_);
    while (form_.WaitCount() > waits_) form_.EndWait();
  }
  RestoreOnExit(const RestoreOnExit&) = delete;
  RestoreOnExit& operator=(const RestoreOnExit&) = delete;

 private:
  TMainForm& form_;
  bool enabled_;
  int waits_;
};

// The folder of a file, without a trailing separator unless it is the root.
QString FolderOf(const QString& fileName) { return QFileInfo(fileName).absolutePath(); }

// The file dialog's filter for the format the preferences chose.
QString FormatFilter(const transfer::DownloadFormat& format) {
  switch (format.container) {
    case transfer::DownloadFormat::Flac:
      return QStringLiteral("FLAC files (*.flac)");
    case transfer::DownloadFormat::Aiff:
      return QStringLiteral("AIFF files (*.aiff *.aif)");
    default:
      return QStringLiteral("Wav/RIFF files (*.wav)");
  }
}

QString IncompleteNote(const QString& fileName, int64_t samples, int64_t total) {
  return QStringLiteral("The file '%1' is incomplete: it holds %2 of the %3 samples.")
      .arg(fileName)
      .arg(samples)
      .arg(total);
}

}  // namespace

DownloadCommand::DownloadCommand(TMainForm& form) : form_(form) {}

void DownloadCommand::Run() {
  RestoreOnExit restore(form_);
  transfer::DownloadEngine engine(form_.Eps(), *form_.Forms().StatusForm,
                                  [] { QApplication::processEvents(); });
  if (!engine.Begin()) return;
  if (!ChooseWaveSample()) return;
  // Refused before the file dialog, so the user is not asked for a file that would stay empty.
  if (const std::string refusal = engine.Refusal(); !refusal.empty()) {
    Tell(QString::fromStdString(refusal));
    return;
  }
  const QString fileName = ChooseFile();
  if (fileName.isEmpty()) return;
  Transfer(engine, fileName);
}

// The wavesample open for editing needs no browser; its record is already in WsParams.
bool DownloadCommand::ChooseWaveSample() {
  protocol::TEps& eps = form_.Eps();
  if (eps.WsOpen) return true;
  while (form_.Forms().OpenWaveForm->Execute(dialogs::bmDownload) == protocol::mrOk) {
    if (eps.OpenWs(false) != 0) return true;
  }
  return false;
}

QString DownloadCommand::ChooseFile() {
  QFileDialog dialog(form_.isVisible() ? &form_ : nullptr, QStringLiteral("Download Wavesample"),
                     form_.UploadDownloadPath);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilters(
      {FormatFilter(form_.DownloadFileFormat()), QStringLiteral("All files (*.*)")});
  dialog.setDefaultSuffix(QString::fromLatin1(form_.DownloadFileFormat().Extension()));
  dialog.selectFile(QString());
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().constFirst();
}

void DownloadCommand::Transfer(transfer::DownloadEngine& engine, const QString& fileName) {
  const transfer::TransferResult result =
      engine.Download(fileName.toStdString(), form_.DownloadFileFormat());
  // Nothing was written to a destination that could not be created, so the remembered folder
  // stays as it was.
  if (!result.noDestination) form_.UploadDownloadPath = FolderOf(fileName);
  Report(result, fileName);
}

void DownloadCommand::Report(const transfer::TransferResult& result, const QString& fileName) {
  const QString message = QString::fromStdString(result.message);
  const int64_t total = protocol::GetPosition(form_.Eps().WsParams, protocol::kWsSampleEnd) -
                        protocol::GetPosition(form_.Eps().WsParams, protocol::kWsSampleStart);
  switch (result.outcome) {
    case transfer::TransferOutcome::Done:
      return;
    case transfer::TransferOutcome::Refused:
      return Tell(message);
    case transfer::TransferOutcome::Cancelled:
      return Tell(QStringLiteral("The download was cancelled.\n") +
                  IncompleteNote(fileName, result.samples, total));
    case transfer::TransferOutcome::Failed:
      if (result.noDestination) return Tell(message);
      return Tell((message.isEmpty() ? QStringLiteral("The download failed.") : message) +
                  QStringLiteral("\n") + IncompleteNote(fileName, result.samples, total));
  }
}

void DownloadCommand::Tell(const QString& text) {
  QMessageBox box(QMessageBox::Warning, QStringLiteral("Kelvora"), text, QMessageBox::Ok,
                  form_.isVisible() ? &form_ : nullptr);
  box.exec();
}

}  // namespace kelvora::app
