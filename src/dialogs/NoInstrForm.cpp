#include "dialogs/NoInstrForm.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "protocol/SessionUi.h"

namespace kelvora::dialogs {

namespace {

QLabel* TextLine(const char* text, bool bold, QWidget* parent) {
  auto* label = new QLabel(QString::fromLatin1(text), parent);
  label->setTextFormat(Qt::PlainText);
  if (bold) {
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
  }
  return label;
}

}  // namespace

TNoInstrForm::TNoInstrForm(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("No Instruments Loaded"));
  Image1 = new QLabel(this);
  Image1->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32));
  Image1->setFixedSize(32, 32);
  ContinueButton = new QPushButton(QStringLiteral("Continue ->"), this);
  CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
  ContinueButton->setDefault(true);

  auto* text = new QVBoxLayout;
  text->setSpacing(2);
  text->addWidget(TextLine("At the moment there are no ", true, this));
  text->addWidget(TextLine("instruments loaded into your EPS/ASR.", true, this));
  text->addSpacing(8);
  text->addWidget(TextLine("Fist load an instrument into your EPS/ASR.", false, this));
  text->addWidget(
      TextLine("Then press continue to refresh the instrument/wavesample lists.", false, this));
  auto* top = new QHBoxLayout;
  top->addWidget(Image1, 0, Qt::AlignTop);
  top->addSpacing(12);
  top->addLayout(text, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ContinueButton);
  buttons->addWidget(CancelButton);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addSpacing(8);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(ContinueButton, &QPushButton::clicked, this, [this] { done(protocol::mrOk); });
  connect(CancelButton, &QPushButton::clicked, this, &TNoInstrForm::reject);
}

void TNoInstrForm::reject() { done(protocol::mrCancel); }

int TNoInstrForm::Execute() {
  ContinueButton->setFocus();
  return exec() == protocol::mrOk ? protocol::mrOk : protocol::mrCancel;
}

}  // namespace kelvora::dialogs
