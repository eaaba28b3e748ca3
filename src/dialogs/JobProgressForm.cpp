#include "dialogs/JobProgressForm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace kelvora::dialogs {

namespace {

// Bars count in thousandths, so samples beyond an int's range still show.
constexpr int kBarSteps = 1000;

int Steps(int64_t done, int64_t total) {
  if (total <= 0) return 0;
  return static_cast<int>(std::clamp<int64_t>(done, 0, total) * kBarSteps / total);
}

QProgressBar* MakeBar(QWidget* parent) {
  auto* bar = new QProgressBar(parent);
  bar->setRange(0, kBarSteps);
  bar->setValue(0);
  bar->setTextVisible(false);
  return bar;
}

}  // namespace

JobProgressForm::JobProgressForm(QWidget* mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      mainWindow_(mainWindow) {
  setModal(false);
  jobLabel_ = new QLabel(this);
  jobBar_ = MakeBar(this);
  fileLabel_ = new QLabel(this);
  fileBar_ = MakeBar(this);
  notes_ = new QPlainTextEdit(this);
  notes_->setReadOnly(true);
  notes_->setMaximumBlockCount(500);
  notes_->setFocusPolicy(Qt::NoFocus);
  cancelButton_ = new QPushButton(QStringLiteral("Cancel"), this);
  cancelButton_->setDefault(true);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(jobLabel_);
  layout->addWidget(jobBar_);
  layout->addWidget(fileLabel_);
  layout->addWidget(fileBar_);
  layout->addWidget(notes_, 1);
  layout->addWidget(cancelButton_, 0, Qt::AlignHCenter);
  resize(480, 260);
  connect(cancelButton_, &QPushButton::clicked, this, &JobProgressForm::reject);
}

void JobProgressForm::Begin(const QString& caption) {
  setWindowTitle(caption);
  cancelled_ = false;
  files_ = filesBegun_ = 0;
  samples_ = samplesBefore_ = fileSamples_ = fileDone_ = 0;
  jobLabel_->setText(QStringLiteral("Reading what the sampler holds..."));
  fileLabel_->clear();
  jobBar_->setValue(0);
  fileBar_->setValue(0);
  notes_->clear();
  if (mainWindow_ != nullptr) mainWindow_->setEnabled(false);
  // Disabling the main window disables its child windows too; this one must stay usable.
  setEnabled(true);
  show();
  activateWindow();
  cancelButton_->setFocus();
  QApplication::processEvents();
}

void JobProgressForm::End() {
  hide();
  if (mainWindow_ != nullptr) mainWindow_->setEnabled(true);
}

void JobProgressForm::JobStarted(int files, int64_t samples) {
  files_ = files;
  samples_ = samples;
  ShowJob();
}

void JobProgressForm::FileStarted(const std::string& label, int64_t samples) {
  ++filesBegun_;
  fileSamples_ = samples;
  fileDone_ = 0;
  fileLabel_->setText(QString::fromStdString(label));
  fileBar_->setValue(0);
  ShowJob();
  Q_EMIT FileBegun(filesBegun_);
}

void JobProgressForm::FileProgress(int64_t samplesDone) {
  fileDone_ = samplesDone;
  fileBar_->setValue(Steps(samplesDone, fileSamples_));
  jobBar_->setValue(Steps(samplesBefore_ + samplesDone, samples_));
}

void JobProgressForm::FileFinished(bool ok) {
  samplesBefore_ += fileSamples_;
  fileDone_ = 0;
  if (ok) fileBar_->setValue(kBarSteps);
  jobBar_->setValue(Steps(samplesBefore_, samples_));
}

void JobProgressForm::Note(const std::string& text) {
  notes_->appendPlainText(QString::fromStdString(text));
}

bool JobProgressForm::Cancelled() {
  QApplication::processEvents();
  return cancelled_;
}

// Esc lands here; it must not close the window, only ask the job to stop.
void JobProgressForm::reject() {
  cancelled_ = true;
  cancelButton_->setEnabled(false);
  jobLabel_->setText(QStringLiteral("Stopping..."));
}

void JobProgressForm::closeEvent(QCloseEvent* event) {
  reject();
  event->ignore();
}

void JobProgressForm::ShowJob() {
  if (cancelled_) return;
  if (files_ == 0) {
    jobLabel_->setText(QStringLiteral("Nothing to transfer"));
    return;
  }
  jobLabel_->setText(QStringLiteral("File %1 of %2").arg(std::max(filesBegun_, 1)).arg(files_));
}

}  // namespace kelvora::dialogs
