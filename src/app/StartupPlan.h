#pragma once

#include <QStringList>

#include "diagnostics/Debugdevice.h"

namespace kelvora::app {

// The debug medium chosen by the first command-line argument ("/DF" file, "/DW" monitor, "/DS"
// serial port, in any case); anything else, or no argument, keeps the log off.
diagnostics::TDebugMedia DebugMediaFromArguments(const QStringList& arguments);

// A command-line switch ("/DF", "/DEL", ...). Absolute file names begin with "/" as well, so an
// argument with a further "/" in it is a file name. "/dev" is a switch although it exists, so
// what a command line means never depends on the files of the machine.
bool IsSwitch(const QString& argument);

// What start-up shows once the main window is built.
struct StartupPlan {
  bool showMainWindow = true;
  bool postGotoPref = false;    // first run: the welcome dialog, then Preferences
  bool postAutoUpload = false;  // a file was named: the unattended upload, window hidden
};

// The first run always shows the welcome, whatever the command line says; otherwise a first
// argument that is not a switch names a file to upload.
StartupPlan PlanStartup(bool firstRun, const QStringList& arguments);

}  // namespace kelvora::app
