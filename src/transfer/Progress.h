#pragma once

#include <cstdint>
#include <string>

namespace kelvora::transfer {

// What a transfer shows while it runs: the progress window implements it, tests record it.
// Calling order: SetCaption, ShowProgress, UpdateProgress after each block that went through,
// and HideProgress at the end in every outcome. Cancelled is polled on every pass of the loop.
class TransferProgress {
 public:
  virtual ~TransferProgress() = default;

  virtual void SetCaption(const std::string& caption) = 0;
  virtual void ShowProgress() = 0;  // also clears the cancel flag
  virtual void UpdateProgress(float secondsLeft, float percent) = 0;
  // Right after each UpdateProgress: the samples through so far of the transfer's total, for a
  // display that counts them. Nothing by default.
  virtual void UpdateSamples(int64_t /*done*/, int64_t /*total*/) {}
  virtual void HideProgress() = 0;
  virtual bool Cancelled() = 0;
};

struct TimeLeft {
  float secondsLeft = 0;
  float percent = 0;
};

// The estimate shown after a block: done of total samples went through in elapsedMs.
// secondsLeft is (elapsed x total / done - elapsed + 999) ms in seconds, so a label that
// truncates it shows the time rounded up; percent is done x 100 / total truncated (above 100
// when done counts more than total). Nothing done yet, or no total, gives 0 and 0.
TimeLeft TimeLeftEstimate(uint32_t elapsedMs, int64_t done, int64_t total);

}  // namespace kelvora::transfer
