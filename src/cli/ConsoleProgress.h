#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "cli/Console.h"
#include "transfer/Progress.h"

namespace kelvora::cli {

// Transfer progress on standard error. On a terminal: one bar line, redrawn in place, with the
// file's samples, percent, rate and time left and the time left for the whole job. Otherwise
// (a log, a pipe) nothing while a file runs. Either way each file ends with one line of its
// own. Cancelled is Ctrl+C. Quiet shows nothing.
class ConsoleProgress : public transfer::TransferProgress {
 public:
  using Clock = std::chrono::steady_clock;

  ConsoleProgress(Console& console, bool terminal);

  // A job of `files` files and `samples` samples in all; the job's time left counts from here.
  void BeginJob(int files, int64_t samples);
  // The next file: `label` names it in the bar ("3/1/2 Sine").
  void BeginFile(const std::string& label, int64_t samples);
  // The file's own line once it is over, and what it moved.
  void EndFile(const std::string& line, int64_t samples);

  void SetCaption(const std::string&) override {}
  void ShowProgress() override {}
  void UpdateProgress(float, float) override {}
  void UpdateSamples(int64_t done, int64_t total) override;
  void HideProgress() override;
  bool Cancelled() override;

  // The bar's text for the figures given; public for tests.
  static std::string BarText(const std::string& label, int64_t done, int64_t total, double seconds,
                             int64_t jobDone, int64_t jobTotal, double jobSeconds);
  // 75 -> "1:15", 3725 -> "1:02:05".
  static std::string Duration(double seconds);

 private:
  void Draw(int64_t done, int64_t total);
  void ClearBar();

  Console& console_;
  bool terminal_;
  int files_ = 0;
  int fileNumber_ = 0;
  int64_t jobSamples_ = 0;
  int64_t jobDone_ = 0;  // samples of the files already over
  Clock::time_point jobStart_;
  std::string label_;
  Clock::time_point fileStart_;
  Clock::time_point lastDraw_;
  bool barShown_ = false;
};

}  // namespace kelvora::cli
