#include "app/MultisampleCommand.h"

#include <QFileDialog>
#include <QMessageBox>

#include "app/MainForm.h"
#include "app/MainForms.h"
#include "batch/MultiUpload.h"
#include "batch/SnapshotReader.h"
#include "dialogs/JobProgressForm.h"
#include "dialogs/MultisamplePlanForm.h"
#include "protocol/Eps.h"

namespace kelvora::app {

using transfer::TransferOutcome;

MultisampleCommand::MultisampleCommand(TMainForm& form) : form_(form) {}

void MultisampleCommand::Run(QStringList paths) {
  protocol::TEps& eps = form_.Eps();
  if (!eps.OpenDevices()) return;  // the session has told the user
  if (paths.isEmpty()) paths = ChooseFiles();
  if (paths.isEmpty()) return;
  std::vector<batch::PlanFile> files;
  if (!ReadFiles(paths, files)) return;
  eps.CloseWs();
  form_.ResetView();
  form_.UpdateCommands();
  dialogs::MultisamplePlanForm planForm(
      [this](int instrument, const std::vector<batch::PlanFile>& planned) {
        return PlanInto(instrument, planned);
      },
      &form_);
  if (planForm.Execute(files, FirstFreeInstrument()) != QDialog::Accepted) return;
  const batch::UploadPlan plan = planForm.Plan();
  if (!plan.Fits()) return;
  batch::TellSession(eps, target_);
  dialogs::JobProgressForm& progress = *form_.Forms().JobForm;
  progress.Begin(QStringLiteral("Uploading multisample"));
  const batch::JobResult result = batch::SendPlan(eps, progress, plan, options_);
  progress.End();
  form_.UpdateCommands();
  Report(plan, result);
}

QStringList MultisampleCommand::ChooseFiles() {
  QFileDialog dialog(form_.isVisible() ? &form_ : nullptr, QStringLiteral("Upload Multisample"),
                     form_.UploadDownloadPath);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setFileMode(QFileDialog::ExistingFiles);
  dialog.setNameFilters({QStringLiteral("Audio files (*.wav *.WAV *.aif *.aiff *.flac *.ogg)"),
                         QStringLiteral("All files (*)")});
  if (dialog.exec() != QDialog::Accepted) return {};
  return dialog.selectedFiles();
}

// Every file is read before anything is planned, so one that cannot go in is named first.
bool MultisampleCommand::ReadFiles(const QStringList& paths, std::vector<batch::PlanFile>& files) {
  for (const QString& path : paths) {
    batch::PlanFile file;
    std::string refusal;
    if (!batch::ReadPlanFile(path.toStdString(), options_, file, refusal)) {
      QMessageBox::warning(form_.isVisible() ? &form_ : nullptr,
                           QStringLiteral("Upload Multisample"), QString::fromStdString(refusal));
      return false;
    }
    files.push_back(file);
  }
  return true;
}

batch::UploadPlan MultisampleCommand::PlanInto(int instrument,
                                               const std::vector<batch::PlanFile>& files) {
  protocol::TEps& eps = form_.Eps();
  target_ = batch::Snapshot{};
  batch::InstrumentImage image;
  bool present = false;
  std::string failure;
  batch::SnapshotReader reader(eps);
  if (!reader.ReadInstrument(instrument, image, present, failure)) {
    batch::UploadPlan refused;
    refused.instrument = instrument;
    refused.refusal = failure;
    return refused;
  }
  if (present) target_.instruments.push_back(std::move(image));
  batch::PlanRequest request;
  request.target.instrument = instrument;
  request.range = files.size() > 1 ? batch::RangeRule::Auto : batch::RangeRule::Full;
  batch::UploadPlan plan = batch::PlanUpload(request, files, batch::SlotsOf(target_));
  batch::FigurePlan(plan, eps.BlockSize, eps.Delay, options_.pick);
  return plan;
}

int MultisampleCommand::FirstFreeInstrument() {
  protocol::TEps& eps = form_.Eps();
  if (!eps.ReadConfig()) return 0;
  for (int i = 0; i < protocol::kInstruments; ++i) {
    if (!eps.InstrInUse[i]) return i;
  }
  return 0;
}

void MultisampleCommand::Report(const batch::UploadPlan& plan, const batch::JobResult& result) {
  QWidget* parent = form_.isVisible() ? &form_ : nullptr;
  const QString done = QStringLiteral("%1 of the %2 files went into instrument %3.")
                           .arg(result.filesTransferred)
                           .arg(plan.files.size())
                           .arg(plan.instrument + 1);
  if (result.outcome == TransferOutcome::Done) {
    QMessageBox::information(parent, QStringLiteral("Upload Multisample"), done);
    return;
  }
  QMessageBox::warning(parent, QStringLiteral("Upload Multisample"),
                       done + QStringLiteral("\n") + QString::fromStdString(result.message));
}

}  // namespace kelvora::app
