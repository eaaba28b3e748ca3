// kelvora-cli: lists, downloads, uploads and edits what an Ensoniq EPS/ASR sampler holds, from
// the shell.
#include <unistd.h>

#include <QCoreApplication>
#include <string>
#include <vector>

#include "cli/Program.h"
#include "settings/Settings.h"

int main(int argc, char** argv) {
  QCoreApplication::setOrganizationName("Kelvora");
  QCoreApplication::setApplicationName("Kelvora");
  kelvora::cli::ProgramEnvironment environment;
  environment.terminal = isatty(STDERR_FILENO) == 1;
  environment.settingsPath = kelvora::settings::Settings::DefaultPath().toStdString();
  return kelvora::cli::RunProgram(std::vector<std::string>(argv + 1, argv + argc), environment);
}
