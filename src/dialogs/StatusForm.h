#pragma once

#include <QDialog>
#include <string>

#include "transfer/Progress.h"

class QCloseEvent;
class QLabel;
class QProgressBar;
class QPushButton;

namespace kelvora::dialogs {

// "Status": the non-modal progress window of a transfer; disables the main window while shown.
// The transfer loop keeps running on the user-interface thread, so Cancel, Enter, Esc and the
// close box only raise a flag the loop polls; the window stays until the loop hides it.
class TStatusForm : public QDialog, public transfer::TransferProgress {
  Q_OBJECT

 public:
  explicit TStatusForm(QWidget* mainWindow);

  void SetCaption(const std::string& caption) override;
  void ShowProgress() override;
  void UpdateProgress(float secondsLeft, float percent) override;
  void HideProgress() override;
  bool Cancelled() override;

  QLabel* TimeLabel();
  QProgressBar* ProgressBar();
  QPushButton* CancelButton();

  void reject() override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void CancelButtonClick();
  void CentreOnScreen();

  QWidget* mainWindow_;
  QLabel* timeLabel_;
  QProgressBar* progressBar_;
  QPushButton* cancelButton_;
  bool cancelled_ = false;
};

// The label text for secondsLeft: "Time left : 7 sec" under a minute, "Time left : 2:05" above.
QString TimeLeftText(float secondsLeft);

}  // namespace kelvora::dialogs
