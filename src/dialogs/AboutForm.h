#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace kelvora::dialogs {

// "About Kelvora": the program's name, version line and purpose.
class TAboutForm : public QDialog {
  Q_OBJECT

 public:
  explicit TAboutForm(QWidget* parent = nullptr);

  static QString VersionLine();  // "Version 2.4"

  QLabel* VersionLabel;
  QPushButton* OkButton;
};

}  // namespace kelvora::dialogs
