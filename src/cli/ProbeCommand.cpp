#include "cli/ProbeCommand.h"

#include <CLI/CLI.hpp>
#include <QJsonObject>

#include "cli/CommandContext.h"
#include "cli/ExitCode.h"

namespace kelvora::cli {

void ProbeCommand::Declare(CLI::App& program) {
  command_ = program.add_subcommand(
      "probe", "Tell whether a sampler answers on the device and channel (exit 0, or 3 if not)");
}


int ProbeCommand::Run(CommandContext& context) {
  int exit = kExitDone;
  const bool answering = context.Sampler(exit) != nullptr;
  Console& out = context.Out();
  const std::string where = context.Connection().Where();
  if (out.Json()) {
    out.Document(QJsonDocument(QJsonObject{
        {"answering", answering}, {"where", QString::fromStdString(where)}, {"exitCode", exit}}));
  } else if (answering) {
    out.Line("A sampler answers on " + where + ".");
  }
  return exit;
}

}  // namespace kelvora::cli
