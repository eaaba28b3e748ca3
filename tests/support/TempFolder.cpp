#include "support/TempFolder.h"

#include <QDir>
#include <stdexcept>

namespace kelvora::testing {

TempFolder::TempFolder() : dir_(QDir::tempPath() + "/kelvora-test-XXXXXX") {
  if (!dir_.isValid()) {
    throw std::runtime_error("cannot make a temporary folder: " + dir_.errorString().toStdString());
  }
  path_ = dir_.path().toStdString();
}

QString ScratchFolder() {
  static const TempFolder folder;
  return QString::fromStdString(folder.Path());
}

}  // namespace kelvora::testing
