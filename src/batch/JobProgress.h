#pragma once

#include <cstdint>
#include <string>

namespace kelvora::batch {

// What a batch job (backup, verify, restore) shows while it runs and how it is stopped. The
// command-line program draws bars or lines from it, the window program its progress window.
// Calling order: JobStarted once; then per file FileStarted, FileProgress any number of times,
// FileFinished; Note at any time. Cancelled is polled often, also while a block is on the wire.
class JobProgress {
 public:
  virtual ~JobProgress() = default;

  // The files the job will transfer and their samples in all.
  virtual void JobStarted(int files, int64_t samples) = 0;
  // `label` names the object for a person, e.g. "3/1/1 Warm Pad" (instrument/layer/wavesample).
  virtual void FileStarted(const std::string& label, int64_t samples) = 0;
  virtual void FileProgress(int64_t samplesDone) = 0;
  virtual void FileFinished(bool ok) = 0;
  // A sentence for the user: a file kept from an earlier run, a difference found, a limit.
  virtual void Note(const std::string& text) = 0;
  virtual bool Cancelled() = 0;
};

// Shows nothing and never cancels.
class SilentProgress : public JobProgress {
 public:
  void JobStarted(int, int64_t) override {}
  void FileStarted(const std::string&, int64_t) override {}
  void FileProgress(int64_t) override {}
  void FileFinished(bool) override {}
  void Note(const std::string&) override {}
  bool Cancelled() override { return false; }
};

}  // namespace kelvora::batch
