#include "cli/ConsoleProgress.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "cli/Interrupt.h"

namespace kelvora::cli {

namespace {

constexpr int kBarCells = 20;
// A terminal redraw costs little, but more than ten a second cannot be read anyway.
constexpr auto kRedrawInterval = std::chrono::milliseconds(100);

double Seconds(ConsoleProgress::Clock::duration duration) {
  return std::chrono::duration<double>(duration).count();
}

// Time left when `done` of `total` took `seconds`; empty while nothing is done.
std::string TimeLeft(int64_t done, int64_t total, double seconds) {
  if (done <= 0 || total <= done) return done >= total && total > 0 ? "0:00" : "--:--";
  return ConsoleProgress::Duration(seconds * static_cast<double>(total - done) / done);
}

std::string Fixed(double seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", seconds);
  return text;
}

}  // namespace

ConsoleProgress::ConsoleProgress(Console& console, bool terminal)
    : console_(console), terminal_(terminal) {}

void ConsoleProgress::JobStarted(int files, int64_t samples) {
  files_ = files;
  fileNumber_ = 0;
  jobSamples_ = samples;
  jobDone_ = 0;
  jobStart_ = Clock::now();
}

void ConsoleProgress::FileStarted(const std::string& label, int64_t samples) {
  ++fileNumber_;
  label_ = label;
  fileSamples_ = samples;
  fileDone_ = 0;
  fileStart_ = Clock::now();
  lastDraw_ = Clock::time_point{};
  if (terminal_ && !console_.Quiet()) Draw();
}

void ConsoleProgress::FileProgress(int64_t samplesDone) {
  fileDone_ = samplesDone;
  if (!terminal_ || console_.Quiet()) return;
  const Clock::time_point now = Clock::now();
  if (fileDone_ < fileSamples_ && now - lastDraw_ < kRedrawInterval) return;
  lastDraw_ = now;
  Draw();
}

void ConsoleProgress::FileFinished(bool ok) {
  const double seconds = Seconds(Clock::now() - fileStart_);
  jobDone_ += fileSamples_;
  std::string line = label_ + ": ";
  if (ok) {
    line += std::to_string(fileSamples_) + " samples in " + Fixed(seconds) + " s";
  } else {
    line += "stopped after " + std::to_string(fileDone_) + " of " + std::to_string(fileSamples_) +
            " samples";
  }
  Note(line);
}

void ConsoleProgress::Note(const std::string& text) {
  ClearBar();
  console_.Note(text);
}

bool ConsoleProgress::Cancelled() { return Interrupt::Requested(); }

void ConsoleProgress::Draw() {
  const Clock::time_point now = Clock::now();
  std::string text = BarText(label_, fileDone_, fileSamples_, Seconds(now - fileStart_),
                             jobDone_ + fileDone_, jobSamples_, Seconds(now - jobStart_));
  if (files_ > 1) {
    text += " (file " + std::to_string(fileNumber_) + "/" + std::to_string(files_) + ")";
  }
  std::FILE* err = console_.ErrorStream();
  std::fprintf(err, "\r\033[K%s", text.c_str());
  std::fflush(err);
  barShown_ = true;
}

void ConsoleProgress::ClearBar() {
  if (!barShown_) return;
  std::fputs("\r\033[K", console_.ErrorStream());
  std::fflush(console_.ErrorStream());
  barShown_ = false;
}

std::string ConsoleProgress::BarText(const std::string& label, int64_t done, int64_t total,
                                     double seconds, int64_t jobDone, int64_t jobTotal,
                                     double jobSeconds) {
  const double share = total > 0 ? std::clamp(static_cast<double>(done) / total, 0.0, 1.0) : 0;
  const int filled = static_cast<int>(share * kBarCells);
  const int64_t rate = seconds > 0 ? std::llround(done / seconds) : 0;
  std::string text = label + " [" + std::string(filled, '#') +
                     std::string(kBarCells - filled, '.') + "] " +
                     std::to_string(static_cast<int>(share * 100)) + "% " + std::to_string(done) +
                     "/" + std::to_string(total) + " samples " + std::to_string(rate) + "/s " +
                     TimeLeft(done, total, seconds) + " left";
  if (jobTotal > total) text += ", job " + TimeLeft(jobDone, jobTotal, jobSeconds) + " left";
  return text;
}

std::string ConsoleProgress::Duration(double seconds) {
  const int64_t whole = std::llround(std::max(seconds, 0.0));
  const int64_t hours = whole / 3600;
  char text[32];
  if (hours > 0) {
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", static_cast<long long>(hours),
                  static_cast<long long>(whole / 60 % 60), static_cast<long long>(whole % 60));
  } else {
    std::snprintf(text, sizeof text, "%lld:%02lld", static_cast<long long>(whole / 60),
                  static_cast<long long>(whole % 60));
  }
  return text;
}

}  // namespace kelvora::cli
