#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace kelvora::dialogs {

// "Welcome": shown on the first run, it leads the user to the Preferences dialog.
class TGotoPrefForm : public QDialog {
  Q_OBJECT

 public:
  explicit TGotoPrefForm(QWidget* parent = nullptr);

  // Returns 1 when "Continue ->" was pressed, 2 when the window was closed. The caller opens
  // Preferences after this returns, so the welcome has gone by then.
  int Execute();

  QLabel* Image1;
  QLabel* TitleLabel;
  QPushButton* Button1;
};

}  // namespace kelvora::dialogs
