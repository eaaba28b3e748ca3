#pragma once

#include <QString>
#include <QTemporaryDir>
#include <string>

namespace kelvora::testing {

// A fresh folder under the system's temporary folder, removed with everything in it when the
// object goes. Throws std::runtime_error when the folder cannot be made.
class TempFolder {
 public:
  TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& Path() const { return path_; }
  // The path of `name` inside the folder; `folder / ""` is the folder with a trailing slash.
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  QTemporaryDir dir_;
  std::string path_;
};

// One folder for the whole test program (settings files, logs), removed when it ends.
QString ScratchFolder();

}  // namespace kelvora::testing
