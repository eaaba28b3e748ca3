// kelvora-cli: lists, downloads, uploads and edits what an Ensoniq EPS/ASR sampler holds, from
// the shell.
#include <unistd.h>

#include <QCoreApplication>
#include <QStandardPaths>
#include <string>
#include <vector>

#include "cli/Program.h"

int main(int argc, char** argv) {
  QCoreApplication::setOrganizationName("Kelvora");
  QCoreApplication::setApplicationName("Kelvora");
  kelvora::cli::ProgramEnvironment environment;
  environment.terminal = isatty(STDERR_FILENO) == 1;
  environment.settingsPath =
      (QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
       "/Kelvora/Kelvora.ini")
          .toStdString();
  return kelvora::cli::RunProgram(std::vector<std::string>(argv + 1, argv + argc), environment);
}
