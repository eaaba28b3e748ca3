#pragma once

#include <QDialog>

class QButtonGroup;
class QGroupBox;
class QPushButton;

namespace kelvora::dialogs {

// "Wavesample Playback Mode": picks one of the sampler's five playback modes.
class TPBModeForm : public QDialog {
  Q_OBJECT

 public:
  explicit TPBModeForm(QWidget* parent = nullptr);

  // Preselects the item for `mode` (0, 256, 512, 768, 1024; any other value keeps the selection
  // of the last use) and returns 1 (OK) or 2 (Cancel); SelectedMode holds the choice afterwards.
  int Execute(int mode);

  // The mode value of the item chosen at the last close, by either button.
  int SelectedMode = 0;

  // Ids 0..4 are the five items in the order of their mode values.
  QButtonGroup* PBModeGroup();
  QPushButton* OkButton();
  QPushButton* CancelButton();

  void reject() override;

 private:
  QGroupBox* groupBox_;
  QButtonGroup* pbModeGroup_;
  QPushButton* okButton_;
  QPushButton* cancelButton_;

  void CentreOnScreen();
};

}  // namespace kelvora::dialogs
