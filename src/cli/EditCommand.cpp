#include "cli/EditCommand.h"

#include <CLI/CLI.hpp>
#include <QJsonObject>
#include <cctype>

#include "cli/CommandContext.h"
#include "cli/ExitCode.h"
#include "cli/WaveSampleTarget.h"
#include "protocol/ProcessResult.h"
#include "protocol/Records.h"

namespace kelvora::cli {

namespace {

struct Range {
  int start = 0;
  int end = 0;  // exclusive
};

// "START-END", two sample positions, the end exclusive.
bool ParseRange(const std::string& text, Range& range) {
  const size_t dash = text.find('-');
  if (dash == std::string::npos || dash == 0 || dash + 1 >= text.size()) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    if (i != dash && !std::isdigit(static_cast<unsigned char>(text[i]))) return false;
  }
  if (dash > 7 || text.size() - dash - 1 > 7) return false;
  range = {std::stoi(text.substr(0, dash)), std::stoi(text.substr(dash + 1))};
  return true;
}

std::string Sentence(int result) {
  switch (result) {
    case protocol::prNothing:
    case protocol::prNothingAfterWait:
      return "the sampler did not answer";
    case protocol::prInvalidWs:
      return "the sampler has no such wavesample";
    default:
      return "the sampler refused it (result " + std::to_string(result) + ")";
  }
}

}  // namespace

const char* EditCommand::Name() const {
  switch (kind_) {
    case Kind::Normalize:
      return "normalize";
    case Kind::Reverse:
      return "reverse";
    case Kind::Clear:
      return "clear";
    case Kind::FadeIn:
      return "fade-in";
    default:
      return "fade-out";
  }
}

void EditCommand::Declare(CLI::App& program) {
  static constexpr const char* kHelp[] = {
      "Scale a wavesample up to the full digital range (the sampler's Normalize Gain)",
      "Reverse a range of a wavesample's samples", "Silence a range of a wavesample's samples",
      "Fade a range of a wavesample in", "Fade a range of a wavesample out"};
  command_ = program.add_subcommand(Name(), kHelp[static_cast<int>(kind_)]);
  command_->add_option("wavesample", slot_, "The wavesample")->required()->type_name("I/L/W");
  if (HasRange()) {
    command_
        ->add_option("--range", range_,
                     "Samples START (first) to END (one past the last), as ls shows "
                     "positions; by default the sample start to the sample end")
        ->type_name("START-END");
  }
  if (HasDepth()) {
    command_->add_option("--depth", depth_, "The fade's depth: 0-6 for 3.0-6.0 dB in 0.5 dB steps")
        ->check(CLI::Range(0, 6).description(""));
  }
}


int EditCommand::Run(CommandContext& context) {
  Range range;
  if (!range_.empty() && !ParseRange(range_, range)) {
    return context.Fail(kExitBadUsage, "'" + range_ + "' is no range; give START-END in samples.");
  }
  WaveSampleTarget target;
  if (const int exit = target.Find(context, slot_); exit != kExitDone) return exit;
  const batch::WaveSampleImage& ws = target.WaveSample();
  if (ws.CopyOf() != 0) {
    return context.Fail(kExitRefused, target.Label() + " is a parameters-only copy of wavesample " +
                                          std::to_string(ws.CopyOf()) +
                                          "; edit the wavesample that holds the data.");
  }
  const int sampleStart = protocol::GetPosition(ws.record.data(), protocol::kWsSampleStart);
  const int sampleEnd = protocol::GetPosition(ws.record.data(), protocol::kWsSampleEnd);
  if (!HasRange() || range_.empty()) range = {sampleStart, sampleEnd};
  if (range.start >= range.end || range.end > sampleEnd) {
    return context.Fail(kExitRefused, "The range " + std::to_string(range.start) + "-" +
                                          std::to_string(range.end) + " does not lie within " +
                                          target.Label() + ", whose samples end at " +
                                          std::to_string(sampleEnd) + ".");
  }
  protocol::TEps& eps = context.Connection().Eps();
  target.Aim(eps);
  Send(eps, range.start, range.end);
  return Report(context, target.Label(), range.start, range.end, eps.WaitResult());
}

void EditCommand::Send(protocol::TEps& eps, int start, int end) const {
  switch (kind_) {
    case Kind::Normalize:
      return eps.NormalizeGain();
    case Kind::Reverse:
      return eps.ReverseData(start, end);
    case Kind::Clear:
      return eps.ClearData(start, end);
    case Kind::FadeIn:
      return eps.FadeIn(start, end, depth_);
    case Kind::FadeOut:
      return eps.FadeOut(start, end, depth_);
  }
}

int EditCommand::Report(CommandContext& context, const std::string& label, int start, int end,
                        int result) const {
  const bool done = result == protocol::prAck;
  Console& out = context.Out();
  if (out.Json()) {
    out.Document(QJsonDocument(QJsonObject{{"command", Name()},
                                           {"wavesample", QString::fromStdString(label)},
                                           {"start", start},
                                           {"end", end},
                                           {"done", done}}));
  }
  if (!done) {
    return context.Fail(kExitFailed, std::string(Name()) + " of " + label +
                                         " did not happen: " + Sentence(result) + ".");
  }
  if (!out.Json()) out.Line(std::string(Name()) + " " + label + ": done.");
  return kExitDone;
}

}  // namespace kelvora::cli
