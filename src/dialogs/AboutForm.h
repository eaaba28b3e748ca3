#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace kelvora::dialogs {

// The program's version, shown here and recorded in the settings.
inline constexpr int kMajorVersion = 2;
inline constexpr int kMinorVersion = 4;

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
