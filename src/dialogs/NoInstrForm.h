#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace kelvora::dialogs {

// "No Instruments Loaded": asks the user to load an instrument on the sampler and continue.
class TNoInstrForm : public QDialog {
 public:
  explicit TNoInstrForm(QWidget* parent = nullptr);

  // 1 (OK) for "Continue ->", 2 (Cancel) for "Cancel" or closing the window.
  int Execute();

  QLabel* Image1;
  QPushButton* ContinueButton;
  QPushButton* CancelButton;

  void reject() override;
};

}  // namespace kelvora::dialogs
