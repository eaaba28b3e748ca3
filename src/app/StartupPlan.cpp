#include "app/StartupPlan.h"

namespace kelvora::app {

bool IsSwitch(const QString& argument) {
  return argument.startsWith('/') && argument.indexOf('/', 1) < 0;
}

diagnostics::TDebugMedia DebugMediaFromArguments(const QStringList& arguments) {
  if (arguments.isEmpty()) return diagnostics::dmNull;
  const QString first = arguments.first().toUpper();
  if (first == "/DF") return diagnostics::dmFile;
  if (first == "/DW") return diagnostics::dmWindow;
  if (first == "/DS") return diagnostics::dmSerial;
  return diagnostics::dmNull;
}

StartupPlan PlanStartup(bool firstRun, const QStringList& arguments) {
  StartupPlan plan;
  if (firstRun) {
    plan.postGotoPref = true;
  } else if (!arguments.isEmpty() && !IsSwitch(arguments.first())) {
    plan.showMainWindow = false;
    plan.postAutoUpload = true;
  }
  return plan;
}

}  // namespace kelvora::app
