#include "dialogs/NoEpsForm.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "dialogs/HelpLink.h"

namespace kelvora::dialogs {

namespace {

struct NoEpsWording {
  const char* caption;
  const char* lines[7];  // Error1, Error2, Info1 .. Info5
  bool retry;
};

// The two "open" failures need the Preferences dialog, so Retry would not help there.
const NoEpsWording& Wording(protocol::TNoEpsReason reason) {
  static const NoEpsWording midiIn{
      "Unable to open Midi-in device",
      {"Kelvora failed to open the", "Midi input device", "", "Please make sure you've configured",
       "the Midi input device in the Preferences", "dialog", ""},
      false};
  static const NoEpsWording midiOut{
      "Unable to open Midi-out device",
      {"Kelvora failed to open the", "Midi output device", "", "Please make sure you've configured",
       "the Midi output device in the Preferences", "dialog", ""},
      false};
  static const NoEpsWording noAnswer{
      "Unable to find EPS/ASR",
      {"Kelvora failed to make a", "connection to your EPS/ASR",
       "To solve this problem please check the following :",
       "    * Midi Device in Preferences dialog", "    * Channel in Preferences dialog",
       "    * EPS/ASR system parameters", "    * Midi cabling"},
      true};
  static const NoEpsWording noSystem{
      "Unable to find EPS/ASR",
      {"Kelvora failed to make a", "connection to your EPS/ASR", "", "Make sure the system disk is",
       "inserted into your EPS/ASR", "", ""},
      true};
  switch (reason) {
    case protocol::nrMidiInFailed:
      return midiIn;
    case protocol::nrMidiOutFailed:
      return midiOut;
    case protocol::nrNoSystem:
      return noSystem;
    case protocol::nrNoAnswer:
      break;
  }
  return noAnswer;
}

}  // namespace

TNoEpsForm::TNoEpsForm(QWidget* parent) : QDialog(parent) {
  Image1 = new QLabel(this);
  const QIcon icon = style()->standardIcon(QStyle::SP_MessageBoxCritical);
  Image1->setPixmap(icon.pixmap(32, 32));
  Image1->setFixedSize(32, 32);
  QLabel** labels[] = {&Error1Label, &Error2Label, &Info1Label, &Info2Label,
                       &Info3Label,  &Info4Label,  &Info5Label};
  for (QLabel** label : labels) {
    *label = new QLabel(this);
    (*label)->setTextFormat(Qt::PlainText);
  }
  QFont bold = font();
  bold.setBold(true);
  Error1Label->setFont(bold);
  Error2Label->setFont(bold);
  OkButton = new QPushButton("OK", this);
  HelpButton = new QPushButton("Help", this);
  RetryButton = new QPushButton("Retry", this);
  OkButton->setDefault(true);
  BuildLayout();
  connect(OkButton, &QPushButton::clicked, this, [this] { done(protocol::mrOk); });
  connect(RetryButton, &QPushButton::clicked, this, [this] { done(protocol::mrRetry); });
  connect(HelpButton, &QPushButton::clicked, this, [] { ShowHelp(hcConnection); });
}

void TNoEpsForm::BuildLayout() {
  auto* text = new QVBoxLayout;
  text->setSpacing(2);
  for (QLabel* label : {Error1Label, Error2Label}) text->addWidget(label);
  text->addSpacing(8);
  for (QLabel* label : {Info1Label, Info2Label, Info3Label, Info4Label, Info5Label}) {
    label->setMinimumHeight(label->fontMetrics().height());
    text->addWidget(label);
  }
  auto* top = new QHBoxLayout;
  top->addWidget(Image1, 0, Qt::AlignTop);
  top->addSpacing(12);
  top->addLayout(text, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(OkButton);
  buttons->addWidget(RetryButton);
  buttons->addWidget(HelpButton);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addSpacing(8);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TNoEpsForm::ShowReason(protocol::TNoEpsReason reason) {
  const NoEpsWording& wording = Wording(reason);
  setWindowTitle(wording.caption);
  QLabel* labels[] = {Error1Label, Error2Label, Info1Label, Info2Label,
                      Info3Label,  Info4Label,  Info5Label};
  for (int i = 0; i < 7; ++i) labels[i]->setText(wording.lines[i]);
  RetryButton->setVisible(wording.retry);
}

int TNoEpsForm::Execute(protocol::TNoEpsReason reason) {
  ShowReason(reason);
  OkButton->setFocus();
  const int result = exec();
  return result == QDialog::Rejected ? protocol::mrCancel : result;
}

void TNoEpsForm::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1) {
    ShowHelp(hcConnection);
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace kelvora::dialogs
