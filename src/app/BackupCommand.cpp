#include "app/BackupCommand.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include "app/MainForm.h"
#include "app/MainForms.h"
#include "batch/BackupJob.h"
#include "batch/RestoreJob.h"
#include "dialogs/JobProgressForm.h"
#include "protocol/Eps.h"

namespace kelvora::app {

using transfer::TransferOutcome;

namespace {

QString Count(int64_t n, const char* one, const char* many) {
  return QStringLiteral("%1 %2").arg(n).arg(n == 1 ? one : many);
}

// The job's own words for what did not go through, one line each.
QString Problems(const batch::JobResult& result) {
  QString text;
  for (const std::string& problem : result.problems) {
    text += QStringLiteral("\n") + QString::fromStdString(problem);
  }
  return text;
}

// Shows the progress window for as long as it lives, however the job ends.
class ShownWhile {
 public:
  ShownWhile(dialogs::JobProgressForm& form, const QString& caption) : form_(form) {
    form_.Begin(caption);
  }
  ~ShownWhile() { form_.End(); }
  ShownWhile(const ShownWhile&) = delete;
  ShownWhile& operator=(const ShownWhile&) = delete;

 private:
  dialogs::JobProgressForm& form_;
};

}  // namespace

BackupCommand::BackupCommand(TMainForm& form) : form_(form) {}

void BackupCommand::BackUp() {
  protocol::TEps& eps = form_.Eps();
  if (!eps.OpenDevices()) return;  // the session has told the user
  const QString folder = ChooseFolder(QStringLiteral("Back Up Sampler"), true);
  if (folder.isEmpty()) return;
  eps.CloseWs();
  form_.ResetView();
  form_.UpdateCommands();
  batch::BackupOptions options;
  batch::JobResult result;
  for (;;) {
    {
      ShownWhile shown(*form_.Forms().JobForm, QStringLiteral("Backing up the sampler"));
      result = batch::BackupJob(eps, *form_.Forms().JobForm, options).Run(folder.toStdString());
    }
    if (!result.replaceable || options.replace) break;
    const QString text = QString::fromStdString(result.message) +
                         QStringLiteral("\n\nReplace the backup in this folder?");
    if (!Ask(QStringLiteral("Back Up Sampler"), text, QStringLiteral("&Replace"))) return;
    options.replace = true;
  }
  const QString done = Count(result.filesTransferred, "wavesample", "wavesamples");
  QString summary;
  if (result.outcome == TransferOutcome::Done) {
    summary = QStringLiteral(
                  "The backup in '%1' is complete: %2 transferred, %3 kept from an "
                  "earlier run.")
                  .arg(folder, done)
                  .arg(result.filesKept);
  } else if (result.outcome == TransferOutcome::Cancelled) {
    summary = QStringLiteral(
                  "The backup in '%1' was stopped after %2. Back Up Sampler... into "
                  "the same folder goes on from there.")
                  .arg(folder, done);
  }
  Report(QStringLiteral("Back Up Sampler"), summary, result);
}

void BackupCommand::Restore() {
  protocol::TEps& eps = form_.Eps();
  if (!eps.OpenDevices()) return;
  const QString folder = ChooseFolder(QStringLiteral("Restore from Backup"), false);
  if (folder.isEmpty()) return;
  eps.CloseWs();
  form_.ResetView();
  form_.UpdateCommands();
  dialogs::JobProgressForm& progress = *form_.Forms().JobForm;
  batch::RestoreJob job(eps, progress);
  job.SetConfirmation([&](const batch::RestorePlan& plan, const batch::Snapshot& backup) {
    progress.End();
    const bool yes =
        Ask(QStringLiteral("Restore"), PlanText(plan, backup), QStringLiteral("&Restore"));
    if (yes) progress.Begin(QStringLiteral("Restoring"));
    return yes;
  });
  batch::JobResult result;
  {
    ShownWhile shown(progress, QStringLiteral("Restoring"));
    result = job.Run(folder.toStdString());
  }
  // Whatever was rebuilt replaces what the browser may remember of those slots.
  for (int i = 0; i < protocol::kInstruments; ++i) eps.WsRecords().ForgetInstrument(i);
  if (result.outcome == TransferOutcome::Cancelled && result.message.empty()) return;  // declined
  QString summary;
  if (result.outcome == TransferOutcome::Done) {
    summary = QStringLiteral("Restored from '%1': %2 (%3 samples) sent.")
                  .arg(folder, Count(result.filesTransferred, "wavesample", "wavesamples"))
                  .arg(result.samplesTransferred);
    for (const std::string& limit : result.limits) {
      summary += QStringLiteral("\nNot brought back: ") + QString::fromStdString(limit);
    }
  }
  Report(QStringLiteral("Restore"), summary, result);
}

QString BackupCommand::PlanText(const batch::RestorePlan& plan, const batch::Snapshot& backup) {
  QString text = QStringLiteral("This restore creates:");
  for (const batch::RestorePlan::Move& move : plan.Moves()) {
    const batch::InstrumentImage* instrument = backup.Find(move.from);
    text += QStringLiteral("\n  instrument %1 \"%2\" of the backup in instrument %3, with %4")
                .arg(move.from + 1)
                .arg(QString::fromStdString(instrument->Name()))
                .arg(move.to + 1)
                .arg(Count(int64_t(instrument->waveSamples.size()), "wavesample", "wavesamples"));
  }
  text += QStringLiteral("\n%1 of data (%2 samples) go to the sampler.")
              .arg(Count(plan.Files(), "wavesample", "wavesamples"))
              .arg(plan.Samples());
  if (!plan.Limits().empty()) text += QStringLiteral("\n\nWhat cannot be restored:");
  for (const std::string& limit : plan.Limits()) {
    text += QStringLiteral("\n  ") + QString::fromStdString(limit);
  }
  return text;
}

QString BackupCommand::ChooseFolder(const QString& caption, bool forBackup) {
  QFileDialog dialog(form_.isVisible() ? &form_ : nullptr, caption, form_.UploadDownloadPath);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setOption(QFileDialog::ShowDirsOnly);
  dialog.setFileMode(QFileDialog::Directory);
  // A backup may go into a new folder, typed as its name; a restore reads an existing one.
  dialog.setAcceptMode(forBackup ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setLabelText(QFileDialog::Accept,
                      forBackup ? QStringLiteral("&Back Up") : QStringLiteral("&Restore"));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().first();
}

bool BackupCommand::Ask(const QString& title, const QString& text, const QString& yes) {
  QMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton,
                  form_.isVisible() ? &form_ : nullptr);
  QPushButton* go = box.addButton(yes, QMessageBox::AcceptRole);
  box.addButton(QMessageBox::Cancel);
  box.setDefaultButton(go);
  box.exec();
  return box.clickedButton() == go;
}

// A job that ran says what it did; one that stopped says why; problems follow either.
void BackupCommand::Report(const QString& title, const QString& summary,
                           const batch::JobResult& result) {
  QWidget* parent = form_.isVisible() ? &form_ : nullptr;
  if (!summary.isEmpty() && result.problems.empty()) {
    QMessageBox::information(parent, title, summary);
    return;
  }
  QString text = summary.isEmpty() ? QString::fromStdString(result.message) : summary;
  if (!result.problems.empty()) text += QStringLiteral("\n\nNot done:") + Problems(result);
  QMessageBox::warning(parent, title, text);
}

}  // namespace kelvora::app
