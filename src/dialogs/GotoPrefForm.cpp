#include "dialogs/GotoPrefForm.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "protocol/SessionUi.h"

namespace kelvora::dialogs {

namespace {
// Each line keeps its trailing blanks.
const char* const kWelcomeLines[] = {
    "By pressing the continue button ",   "Kelvora will take you to the ",
    "Preferences dialog. Here you will ", "have to specify the Midi device, ",
    "and channel , that your EPS/ASR ",   "is connected to.   ",
};
}  // namespace

TGotoPrefForm::TGotoPrefForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint) {
  setWindowTitle("Welcome");
  Image1 = new QLabel(this);
  Image1->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32));
  Image1->setFixedSize(32, 32);
  TitleLabel = new QLabel("Welcome to Kelvora", this);
  QFont bold = font();
  bold.setBold(true);
  TitleLabel->setFont(bold);
  Button1 = new QPushButton("Continue ->", this);
  Button1->setDefault(true);

  auto* text = new QVBoxLayout;
  text->addWidget(TitleLabel);
  text->addSpacing(8);
  for (const char* line : kWelcomeLines) {
    auto* label = new QLabel(line, this);
    label->setTextFormat(Qt::PlainText);
    text->addWidget(label);
  }
  auto* top = new QHBoxLayout;
  top->addWidget(Image1, 0, Qt::AlignTop);
  top->addSpacing(12);
  top->addLayout(text, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addSpacing(8);
  layout->addWidget(Button1, 0, Qt::AlignRight);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  connect(Button1, &QPushButton::clicked, this, [this] { done(protocol::mrOk); });
}

int TGotoPrefForm::Execute() {
  Button1->setFocus();
  const int result = exec();
  return result == QDialog::Rejected ? protocol::mrCancel : result;
}

}  // namespace kelvora::dialogs
