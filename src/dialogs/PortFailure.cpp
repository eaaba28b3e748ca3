#include "dialogs/PortFailure.h"

#include <QMessageBox>
#include <exception>

namespace kelvora::dialogs {

void ShowPortFailure(QWidget* parent, const QString& text) {
  QMessageBox::critical(parent, QStringLiteral("Kelvora"), text);
}

bool RunShowingPortFailure(QWidget* parent, const std::function<void()>& command) {
  try {
    command();
    return true;
  } catch (const std::exception& failure) {
    ShowPortFailure(parent, QString::fromStdString(failure.what()));
    return false;
  }
}

}  // namespace kelvora::dialogs
