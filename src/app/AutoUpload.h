#pragma once

#include <QDir>
#include <QStringList>

namespace kelvora::app {

// What the unattended transfer does with its command line.
struct AutoUploadPlan {
  bool deleteMode = false;  // "/DEL" (any case) anywhere: delete each file after its upload
  QStringList files;        // the arguments that are not switches, as absolute paths, in order
};

// Relative names are resolved against startFolder at once: the upload dialog may change the
// current folder while it runs, and the file that is uploaded, and perhaps deleted, must be the
// one that was named.
AutoUploadPlan PlanAutoUpload(const QStringList& arguments, const QDir& startFolder);

}  // namespace kelvora::app
