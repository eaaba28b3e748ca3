#include "dialogs/StatusForm.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <algorithm>
#include <cmath>

namespace kelvora::dialogs {

namespace {

constexpr int kClientWidth = 441;
constexpr int kClientHeight = 123;
constexpr int kTimeLabelWidth = 105;

}  // namespace

QString TimeLeftText(float secondsLeft) {
  // Out-of-range estimates (a clock step, a huge file) must not overflow the int conversion.
  const double clamped = std::clamp(static_cast<double>(secondsLeft), 0.0, 1.0e9);
  const long long minutes = static_cast<long long>(std::trunc(clamped * (1.0 / 60.0)));
  const long long seconds = static_cast<long long>(std::trunc(clamped)) % 60;
  if (minutes != 0)
    return QStringLiteral("Time left : %1:%2").arg(minutes).arg(seconds, 2, 10, QLatin1Char('0'));
  return QStringLiteral("Time left : %1 sec").arg(seconds);
}

TStatusForm::TStatusForm(QWidget* mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      mainWindow_(mainWindow) {
  setWindowTitle(QStringLiteral("Status"));
  setFixedSize(kClientWidth, kClientHeight);
  setModal(false);

  timeLabel_ = new QLabel(QStringLiteral("Time left : ???"), this);
  timeLabel_->setAlignment(Qt::AlignCenter);
  timeLabel_->setGeometry((kClientWidth - kTimeLabelWidth) / 2, 14, kTimeLabelWidth, 17);

  progressBar_ = new QProgressBar(this);
  progressBar_->setRange(0, 100);
  progressBar_->setValue(0);
  progressBar_->setTextVisible(false);
  progressBar_->setGeometry(16, 40, kClientWidth - 32, 20);

  cancelButton_ = new QPushButton(QStringLiteral("Cancel"), this);
  cancelButton_->setGeometry((kClientWidth - 75) / 2, 80, 75, 25);
  cancelButton_->setDefault(true);
  cancelButton_->setAutoDefault(true);
  connect(cancelButton_, &QPushButton::clicked, this, &TStatusForm::CancelButtonClick);
}

void TStatusForm::SetCaption(const std::string& caption) {
  setWindowTitle(QString::fromStdString(caption));
}

void TStatusForm::ShowProgress() {
  cancelled_ = false;
  progressBar_->setValue(0);
  timeLabel_->setText(QStringLiteral("Time left : ???"));
  if (mainWindow_ != nullptr) mainWindow_->setEnabled(false);
  // Disabling the main window disables its child windows too; this one must stay usable.
  setEnabled(true);
  show();
  // The frame is known only once the window is shown.
  CentreOnScreen();
  activateWindow();
  cancelButton_->setFocus();
}

void TStatusForm::UpdateProgress(float secondsLeft, float percent) {
  timeLabel_->setText(TimeLeftText(secondsLeft));
  const double bounded = std::clamp(static_cast<double>(percent), 0.0, 100.0);
  progressBar_->setValue(static_cast<int>(std::trunc(bounded)));
}

void TStatusForm::HideProgress() {
  hide();
  if (mainWindow_ != nullptr) mainWindow_->setEnabled(true);
}

bool TStatusForm::Cancelled() { return cancelled_; }

QLabel* TStatusForm::TimeLabel() { return timeLabel_; }
QProgressBar* TStatusForm::ProgressBar() { return progressBar_; }
QPushButton* TStatusForm::CancelButton() { return cancelButton_; }

// Esc lands here; it must not close the window, only ask the transfer to stop.
void TStatusForm::reject() { CancelButtonClick(); }

void TStatusForm::closeEvent(QCloseEvent* event) {
  CancelButtonClick();
  event->ignore();
}

void TStatusForm::CancelButtonClick() { cancelled_ = true; }

void TStatusForm::CentreOnScreen() {
  QScreen* target =
      mainWindow_ != nullptr ? mainWindow_->screen() : QGuiApplication::primaryScreen();
  if (target == nullptr) return;
  QRect frame = frameGeometry();
  frame.moveCenter(target->availableGeometry().center());
  move(frame.topLeft());
}

}  // namespace kelvora::dialogs
