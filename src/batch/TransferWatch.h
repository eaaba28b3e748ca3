#pragma once

#include <cstdint>
#include <string>

#include "batch/JobProgress.h"
#include "transfer/Progress.h"

namespace kelvora::midi {
class TMidiIn;
}

namespace kelvora::batch {

// The sampler restarts its timer at 30 s after a WAIT; a transfer that hears nothing for
// longer than that has lost its sampler (a pulled cable, a sampler switched off).
constexpr uint32_t kDefaultStallLimitMs = 35000;

// Stands between one transfer engine and a job's progress: passes the blocks on as samples
// done, stops the transfer when the user cancels the job, and also when no byte has come from
// the sampler for the stall limit, which an engine waiting for a block would otherwise wait out
// for ever.
class TransferWatch : public transfer::TransferProgress {
 public:
  TransferWatch(JobProgress& job, midi::TMidiIn& input, uint32_t stallLimitMs);

  // Before each transfer: the samples it moves, for the percentages the engine reports.
  void Start(int64_t samples);
  // Time passes without a byte from now on, e.g. after a long block went out.
  void Touch();
  bool Stalled() const { return stalled_; }
  bool UserCancelled() const { return userCancelled_; }
  // A sentence for a stall.
  static std::string StallMessage();

  void SetCaption(const std::string&) override {}
  void ShowProgress() override;
  void UpdateProgress(float secondsLeft, float percent) override;
  void UpdateSamples(int64_t done, int64_t total) override;
  void HideProgress() override {}
  bool Cancelled() override;

 private:
  JobProgress& job_;
  midi::TMidiIn& input_;
  uint32_t stallLimitMs_;
  int64_t samples_ = 0;
  unsigned lastAvailable_ = 0;
  uint32_t lastActivity_ = 0;
  bool stalled_ = false;
  bool userCancelled_ = false;
};

}  // namespace kelvora::batch
