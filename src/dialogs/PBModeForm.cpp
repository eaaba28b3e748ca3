#include "dialogs/PBModeForm.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

#include "dialogs/WsFacts.h"
#include "protocol/SessionUi.h"

namespace kelvora::dialogs {

namespace {

constexpr int kItemCount = 5;
// The sampler's playback mode parameter steps by 256 per item.
constexpr int kModeStep = 256;

// The item for a mode value, or -1 for a value that is not one of the five.
int ItemOfMode(int mode) {
  if (mode < 0 || mode % kModeStep != 0 || mode / kModeStep >= kItemCount) return -1;
  return mode / kModeStep;
}

}  // namespace

TPBModeForm::TPBModeForm(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Wavesample Playback Mode"));
  groupBox_ = new QGroupBox(this);
  pbModeGroup_ = new QButtonGroup(this);
  auto* items = new QVBoxLayout(groupBox_);
  for (int i = 0; i < kItemCount; ++i) {
    auto* radio = new QRadioButton(PlaybackModeName(i * kModeStep), groupBox_);
    pbModeGroup_->addButton(radio, i);
    items->addWidget(radio);
  }
  okButton_ = new QPushButton(QStringLiteral("OK"), this);
  cancelButton_ = new QPushButton(QStringLiteral("Cancel"), this);
  okButton_->setDefault(true);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(okButton_);
  buttons->addWidget(cancelButton_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(groupBox_);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(okButton_, &QPushButton::clicked, this, [this] { done(protocol::mrOk); });
  connect(cancelButton_, &QPushButton::clicked, this, &TPBModeForm::reject);
}

QButtonGroup* TPBModeForm::PBModeGroup() { return pbModeGroup_; }
QPushButton* TPBModeForm::OkButton() { return okButton_; }
QPushButton* TPBModeForm::CancelButton() { return cancelButton_; }

void TPBModeForm::reject() { done(protocol::mrCancel); }

int TPBModeForm::Execute(int mode) {
  const int item = ItemOfMode(mode);
  if (item >= 0) pbModeGroup_->button(item)->setChecked(true);
  okButton_->setFocus();
  CentreOnScreen();
  const int result = exec() == protocol::mrOk ? protocol::mrOk : protocol::mrCancel;
  const int chosen = pbModeGroup_->checkedId();
  if (chosen >= 0) SelectedMode = chosen * kModeStep;
  return result;
}

void TPBModeForm::CentreOnScreen() {
  adjustSize();
  QScreen* target =
      parentWidget() != nullptr ? parentWidget()->screen() : QGuiApplication::primaryScreen();
  if (target == nullptr) return;
  QRect frame = frameGeometry();
  frame.moveCenter(target->availableGeometry().center());
  move(frame.topLeft());
}

}  // namespace kelvora::dialogs
