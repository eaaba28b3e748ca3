#include "dialogs/AboutForm.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "KelvoraVersion.h"

namespace kelvora::dialogs {

QString TAboutForm::VersionLine() {
  return QString("Version %1.%2").arg(KELVORA_VERSION_MAJOR).arg(KELVORA_VERSION_MINOR);
}

TAboutForm::TAboutForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint) {
  setWindowTitle("About Kelvora");
  auto* icon = new QLabel(this);
  icon->setPixmap(QApplication::windowIcon().pixmap(48, 48));
  auto* name = new QLabel("Kelvora", this);
  QFont big = font();
  big.setBold(true);
  big.setPointSizeF(big.pointSizeF() * 1.5);
  name->setFont(big);
  VersionLabel = new QLabel(VersionLine(), this);
  auto* purpose = new QLabel(
      "Wavesample editor and transfer tool for the\nEnsoniq EPS, EPS-16 PLUS and ASR samplers,\n"
      "connected through MIDI System Exclusive.",
      this);
  OkButton = new QPushButton("OK", this);
  OkButton->setDefault(true);

  auto* text = new QVBoxLayout;
  text->addWidget(name);
  text->addWidget(VersionLabel);
  text->addSpacing(8);
  text->addWidget(purpose);
  auto* top = new QHBoxLayout;
  top->addWidget(icon, 0, Qt::AlignTop);
  top->addSpacing(12);
  top->addLayout(text, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addSpacing(8);
  layout->addWidget(OkButton, 0, Qt::AlignRight);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace kelvora::dialogs
