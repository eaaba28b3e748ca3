#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace kelvora::protocol {
class TEps;
}

namespace kelvora::dialogs {

// "Wavesample is a Copy": the chosen wavesample shares the data of another one and cannot be
// edited; offers to edit that source wavesample instead.
class TWsIsCopyForm : public QDialog {
 public:
  explicit TWsIsCopyForm(QWidget* parent = nullptr);

  // 1 (OK) for "Yes", 2 (Cancel) for "No" or closing the window.
  int Execute(int sourceWaveSample);

  QLabel* HeadingLabel;
  QLabel* SourceLabel;    // "parameters-only copy of wavesample #N."
  QLabel* QuestionLabel;  // "Do you want to edit wavesample #N instead ?"
  QPushButton* YesButton;
  QPushButton* NoButton;

  void reject() override;
};

// The wavesample whose data a parameters-only copy uses (word 12, high byte); 0 when not a copy.
int CopySource(const int* wsParams);

// Opens the session's current wavesample for editing. When it is a parameters-only copy, offers
// its source through form and, on Yes, makes the source current and opens it instead. Returns
// OpenWs's result: 1 opened; 0 (failed) or 2 (a copy still) mean the browser is shown again.
int OpenWithCopyRedirect(protocol::TEps& eps, TWsIsCopyForm& form);

}  // namespace kelvora::dialogs
