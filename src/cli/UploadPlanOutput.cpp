#include "cli/UploadPlanOutput.h"

#include <QJsonArray>
#include <cmath>

#include "batch/KeyNames.h"
#include "batch/SlotPath.h"
#include "transfer/UploadFigures.h"

namespace kelvora::cli {

namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }
std::string Str(const QJsonValue& value) { return value.toString().toStdString(); }
std::string Num(const QJsonValue& value) { return std::to_string(value.toInteger()); }

QJsonObject Key(int key) { return {{"number", key}, {"name", Text(batch::KeyName(key))}}; }

const char* RangeName(batch::RangeRule rule) {
  switch (rule) {
    case batch::RangeRule::Root:
      return "root";
    case batch::RangeRule::Custom:
    case batch::RangeRule::Auto:
      return "keys";
    default:
      return "full";
  }
}

QJsonObject FileJson(int instrument, const batch::PlannedFile& planned) {
  const batch::PlanFile& file = planned.file;
  return {
      {"file", Text(file.path)},
      {"slot", Text(batch::FormatWaveSample(instrument, planned.layer, planned.waveSample))},
      {"replaces", planned.replaces},
      {"rootKey", Key(planned.rootKey)},
      {"rootFrom", Text(file.rootSource)},
      {"range", RangeName(planned.range)},
      {"lowKey", Key(planned.range == batch::RangeRule::Full ? batch::kKeyboardLow : planned.low)},
      {"highKey",
       Key(planned.range == batch::RangeRule::Full ? batch::kKeyboardHigh : planned.high)},
      {"rate", file.rate},
      {"frames", static_cast<double>(file.frames)},
      {"format", Text(file.format)},
      {"pitch", Text(file.pitch)},
      {"memoryBlocks", static_cast<double>(file.memoryBlocks)},
      {"wireSeconds", file.wireSeconds}};
}

std::string FileLine(const QJsonObject& file) {
  std::string line = "  " + Str(file["slot"]) + "  " + Str(file["file"]) + "  root " +
                     Str(file["rootKey"]["name"]) + " (" + Str(file["rootFrom"]) + ")  keys " +
                     Str(file["lowKey"]["name"]) + ".." + Str(file["highKey"]["name"]) + "  " +
                     Num(file["rate"]) + " Hz  " + Num(file["frames"]) + " samples  " +
                     Num(file["memoryBlocks"]) + " blocks  " +
                     transfer::DurationText(file["wireSeconds"].toDouble()) + " on the wire";
  if (file["replaces"].toBool()) line += "  (replaces the wavesample there)";
  return line;
}

}  // namespace

QJsonObject PlanJson(const batch::UploadPlan& plan, bool newInstrument) {
  QJsonArray files;
  for (const batch::PlannedFile& planned : plan.files) {
    files.append(FileJson(plan.instrument, planned));
  }
  return {{"instrument", plan.instrument + 1},
          {"newInstrument", newInstrument},
          {"files", files},
          {"memoryBlocks", static_cast<double>(plan.memoryBlocks)},
          {"memoryWords", static_cast<double>(plan.memoryBlocks) * 256},
          {"wireSeconds", plan.wireSeconds},
          {"fits", plan.Fits()},
          {"refusal", Text(plan.refusal)}};
}

std::vector<std::string> PlanText(const QJsonObject& plan) {
  const QJsonArray files = plan["files"].toArray();
  std::vector<std::string> lines;
  lines.push_back("Plan: " + std::to_string(files.size()) +
                  (files.size() == 1 ? " file" : " files") + " into " +
                  (plan["newInstrument"].toBool() ? "a new instrument " : "instrument ") +
                  Num(plan["instrument"]) + ":");
  for (const QJsonValue file : files) lines.push_back(FileLine(file.toObject()));
  lines.push_back("In all " + Num(plan["memoryBlocks"]) + " blocks of memory (" +
                  Num(plan["memoryWords"]) + " words), " +
                  transfer::DurationText(plan["wireSeconds"].toDouble()) + " on the wire.");
  return lines;
}

}  // namespace kelvora::cli
