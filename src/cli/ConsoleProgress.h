#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "batch/JobProgress.h"
#include "cli/Console.h"

namespace kelvora::cli {

// A job's progress on standard error. On a terminal: one bar line, redrawn in place, with the
// file's samples, percent, rate and time left and the time left for the whole job. Otherwise
// (a log, a pipe) nothing while a file runs. Either way each file ends with one line of its
// own, and notes are lines too. Cancelled is Ctrl+C. Quiet shows nothing.
class ConsoleProgress : public batch::JobProgress {
 public:
  using Clock = std::chrono::steady_clock;

  ConsoleProgress(Console& console, bool terminal);

  void JobStarted(int files, int64_t samples) override;
  void FileStarted(const std::string& label, int64_t samples) override;
  void FileProgress(int64_t samplesDone) override;
  void FileFinished(bool ok) override;
  void Note(const std::string& text) override;
  bool Cancelled() override;

  // The bar's text for the figures given; public for tests.
  static std::string BarText(const std::string& label, int64_t done, int64_t total, double seconds,
                             int64_t jobDone, int64_t jobTotal, double jobSeconds);
  // 75 -> "1:15", 3725 -> "1:02:05".
  static std::string Duration(double seconds);

 private:
  void Draw();
  void ClearBar();

  Console& console_;
  bool terminal_;
  int files_ = 0;
  int fileNumber_ = 0;
  int64_t jobSamples_ = 0;
  int64_t jobDone_ = 0;  // samples of the files already over
  Clock::time_point jobStart_;
  std::string label_;
  int64_t fileSamples_ = 0;
  int64_t fileDone_ = 0;
  Clock::time_point fileStart_;
  Clock::time_point lastDraw_;
  bool barShown_ = false;
};

}  // namespace kelvora::cli
