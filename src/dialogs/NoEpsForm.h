#pragma once

#include <QDialog>

#include "protocol/SessionUi.h"

class QLabel;
class QPushButton;

namespace kelvora::dialogs {

// Tells the user that the sampler could not be reached, in the wording of the reason, and offers
// Retry for the failures that can be mended at the sampler (no answer, no system disk).
class TNoEpsForm : public QDialog {
  Q_OBJECT

 public:
  explicit TNoEpsForm(QWidget* parent = nullptr);

  // Returns 1 (OK), 4 (Retry) or 2 (the window was closed).
  int Execute(protocol::TNoEpsReason reason);

  QLabel* Image1;
  QLabel* Error1Label;  // bold heading, two lines
  QLabel* Error2Label;
  QLabel* Info1Label;
  QLabel* Info2Label;
  QLabel* Info3Label;
  QLabel* Info4Label;
  QLabel* Info5Label;
  QPushButton* OkButton;
  QPushButton* HelpButton;
  QPushButton* RetryButton;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void BuildLayout();
  void ShowReason(protocol::TNoEpsReason reason);
};

}  // namespace kelvora::dialogs
