#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;
class QPushButton;

namespace kelvora::dialogs {

// "Rename Instrument": a small tool window with the name to edit. The text is kept as typed; the
// session turns it into the sampler's 12-character form when it sends it.
class TRenameInstrForm : public QDialog {
 public:
  static constexpr int kMaxNameLength = 12;

  explicit TRenameInstrForm(QWidget* parent = nullptr);

  // Shows name with all its text selected; on OK the edited text is in NewName. Returns the modal
  // result: 1 OK, 2 Cancel.
  int Execute(const QString& name);
  QString NewName() const { return newName_; }

  QLineEdit* NameEdit;
  QPushButton* OkButton;
  QPushButton* CancelButton;

  void reject() override;

 private:
  QString newName_;
};

}  // namespace kelvora::dialogs
