#include "app/AutoUpload.h"

#include "app/StartupPlan.h"

namespace kelvora::app {

AutoUploadPlan PlanAutoUpload(const QStringList& arguments, const QDir& startFolder) {
  AutoUploadPlan plan;
  for (const QString& argument : arguments) {
    if (argument.compare("/DEL", Qt::CaseInsensitive) == 0) plan.deleteMode = true;
    if (argument.isEmpty() || IsSwitch(argument)) continue;
    plan.files << QDir::cleanPath(startFolder.absoluteFilePath(argument));
  }
  return plan;
}

}  // namespace kelvora::app
