#include "cli/JobReport.h"

#include <QJsonArray>

#include "cli/Console.h"
#include "cli/ExitCode.h"

namespace kelvora::cli {

namespace {

using transfer::TransferOutcome;

const char* OutcomeName(TransferOutcome outcome) {
  switch (outcome) {
    case TransferOutcome::Done:
      return "done";
    case TransferOutcome::Cancelled:
      return "interrupted";
    case TransferOutcome::Refused:
      return "refused";
    case TransferOutcome::Failed:
      break;
  }
  return "failed";
}

QJsonArray Texts(const std::vector<std::string>& texts) {
  QJsonArray array;
  for (const std::string& text : texts) array.append(QString::fromStdString(text));
  return array;
}

}  // namespace

int JobExit(const batch::JobResult& result) {
  switch (result.outcome) {
    case TransferOutcome::Cancelled:
      return kExitInterrupted;
    case TransferOutcome::Refused:
      return kExitRefused;
    case TransferOutcome::Failed:
      return kExitFailed;
    case TransferOutcome::Done:
      break;
  }
  return result.problems.empty() ? kExitDone : kExitFailed;
}

void TellProblems(Console& console, const batch::JobResult& result) {
  for (const std::string& problem : result.problems) console.Error(problem);
  if (result.message.empty()) return;
  if (result.outcome == TransferOutcome::Cancelled) {
    console.Note("Interrupted. " + result.message);
  } else {
    console.Error(result.message);
  }
}

QJsonObject JobJson(const batch::JobResult& result) {
  return {{"outcome", OutcomeName(result.outcome)},
          {"message", QString::fromStdString(result.message)},
          {"filesTransferred", result.filesTransferred},
          {"filesKept", result.filesKept},
          {"samplesTransferred", static_cast<double>(result.samplesTransferred)},
          {"problems", Texts(result.problems)},
          {"limits", Texts(result.limits)}};
}

std::string Count(int64_t n, const std::string& noun) {
  return std::to_string(n) + " " + noun + (n == 1 ? "" : "s");
}

}  // namespace kelvora::cli
