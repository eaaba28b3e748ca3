#include "dialogs/RenameInstrForm.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "protocol/SessionUi.h"

namespace kelvora::dialogs {

TRenameInstrForm::TRenameInstrForm(QWidget* parent) : QDialog(parent, Qt::Tool) {
  setWindowTitle(QStringLiteral("Rename Instrument"));
  NameEdit = new QLineEdit(this);
  NameEdit->setMaxLength(kMaxNameLength);
  OkButton = new QPushButton(QStringLiteral("OK"), this);
  CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
  OkButton->setDefault(true);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(OkButton);
  buttons->addWidget(CancelButton);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(NameEdit);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(OkButton, &QPushButton::clicked, this, [this] { done(protocol::mrOk); });
  connect(CancelButton, &QPushButton::clicked, this, &TRenameInstrForm::reject);
}

void TRenameInstrForm::reject() { done(protocol::mrCancel); }

int TRenameInstrForm::Execute(const QString& name) {
  NameEdit->setText(name);
  NameEdit->selectAll();
  NameEdit->setFocus();
  const int result = exec() == protocol::mrOk ? protocol::mrOk : protocol::mrCancel;
  if (result == protocol::mrOk) newName_ = NameEdit->text();
  return result;
}

}  // namespace kelvora::dialogs
