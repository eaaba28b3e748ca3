#include "app/SingleInstance.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace kelvora::app {

namespace {
QString RuntimeFolder() {
  const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  return runtime.isEmpty() ? QDir::tempPath() : runtime;
}
}  // namespace

SingleInstance::SingleInstance(const QString& folder)
    : path_((folder.isEmpty() ? RuntimeFolder() : folder) + "/" + kLockName + ".lock"),
      lock_(std::make_unique<QLockFile>(path_)) {
  // The lock is held for the whole run, so its age says nothing: only a dead owner makes it stale.
  lock_->setStaleLockTime(0);
}

SingleInstance::~SingleInstance() {
  if (held_) lock_->unlock();
}

bool SingleInstance::TryAcquire() {
  if (!held_) {
    QDir().mkpath(QFileInfo(path_).absolutePath());
    held_ = lock_->tryLock(0);
  }
  return held_;
}

}  // namespace kelvora::app
