#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

namespace kelvora::app {

// Only one Kelvora runs per user: a lock file "KelvoraEpsAsr.lock" in the user's runtime folder,
// held for the whole run. A lock left behind by a run that crashed names a process that no longer
// exists and is taken over.
class SingleInstance {
 public:
  static constexpr const char* kLockName = "KelvoraEpsAsr";

  // folder: where the lock lives; empty means the user's runtime folder.
  explicit SingleInstance(const QString& folder = QString());
  ~SingleInstance();

  // False when another running instance holds the lock.
  bool TryAcquire();
  bool Held() const { return held_; }
  QString LockPath() const { return path_; }

 private:
  QString path_;
  std::unique_ptr<QLockFile> lock_;
  bool held_ = false;
};

}  // namespace kelvora::app
