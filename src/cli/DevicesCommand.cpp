#include "cli/DevicesCommand.h"

#include <CLI/CLI.hpp>
#include <QJsonArray>
#include <QJsonObject>

#include "cli/CommandContext.h"
#include "cli/ExitCode.h"

namespace kelvora::cli {

namespace {

const char* Directions(const DeviceRow& row) {
  if (row.input >= 0 && row.output >= 0) return "in/out";
  return row.input >= 0 ? "in" : "out";
}

QJsonObject DeviceJson(const DeviceRow& row, int number) {
  return {{"number", number},
          {"name", QString::fromStdString(row.name.Full())},
          {"client", QString::fromStdString(row.name.client)},
          {"port", QString::fromStdString(row.name.port)},
          {"input", row.input >= 0},
          {"output", row.output >= 0},
          {"simulated", row.simulated}};
}

}  // namespace

void DevicesCommand::Declare(CLI::App& program) {
  command_ = program.add_subcommand(
      "devices", "List the MIDI inputs and outputs with the numbers and names --device takes");
}


int DevicesCommand::Run(CommandContext& context) {
  const std::vector<DeviceRow>& rows = context.Connection().Catalog().Rows();
  Console& out = context.Out();
  if (out.Json()) {
    QJsonArray devices;
    for (size_t i = 0; i < rows.size(); ++i) devices.append(DeviceJson(rows[i], int(i) + 1));
    out.Document(QJsonDocument(QJsonObject{{"devices", devices}}));
    return kExitDone;
  }
  for (size_t i = 0; i < rows.size(); ++i) {
    std::string line = std::to_string(i + 1);
    line =
        std::string(line.size() < 3 ? 3 - line.size() : 0, ' ') + line + "  " + Directions(rows[i]);
    line.resize(std::max<size_t>(line.size() + 1, 13), ' ');
    line += rows[i].name.Full();
    if (rows[i].simulated) line += "  (built-in simulated sampler)";
    out.Line(line);
  }
  return kExitDone;
}

}  // namespace kelvora::cli
