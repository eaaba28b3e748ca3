#pragma once

#include <functional>
#include <string>
#include <vector>

#include "batch/BackupJob.h"
#include "batch/JobProgress.h"
#include "batch/RestorePlan.h"
#include "batch/Snapshot.h"
#include "transfer/transfer_support.h"
#include "transfer/wav_support.h"

namespace kelvora::batch::test {

using transfer::test::TempFolder;

// Records what a job shows; cancels or runs a hook after a given number of files.
class RecordingJobProgress : public JobProgress {
 public:
  int files = -1;
  int64_t samples = -1;
  std::vector<std::string> started;  // labels
  int finished = 0;
  int failedFiles = 0;
  std::vector<std::string> notes;
  int updates = 0;
  int cancelAfterFiles = -1;
  int cancelAfterUpdates = -1;  // FileProgress calls, over the whole job
  std::function<void(int finished)> onFileFinished;

  void JobStarted(int fileCount, int64_t sampleCount) override;
  void FileStarted(const std::string& label, int64_t) override { started.push_back(label); }
  void FileProgress(int64_t) override { ++updates; }
  void FileFinished(bool ok) override;
  void Note(const std::string& text) override { notes.push_back(text); }
  bool Cancelled() override {
    return (cancelAfterFiles >= 0 && finished >= cancelAfterFiles) ||
           (cancelAfterUpdates >= 0 && updates >= cancelAfterUpdates);
  }
};

// The demo sampler (instruments 1..3, the copy wavesample 3 of instrument 1) on the session.
class BatchFixture : public transfer::test::TransferFixture {
 protected:
  JobResult Backup(const std::string& folder, RecordingJobProgress& progress,
                   BackupOptions options = {});
  JobResult Backup(const std::string& folder) {
    RecordingJobProgress progress;
    return Backup(folder, progress);
  }
  JobResult Verify(const std::string& folder, RecordingJobProgress& progress);
  JobResult Restore(const std::string& folder, RestoreOptions options = {});
  JobResult Restore(const std::string& folder, RecordingJobProgress& progress);
  // Every instrument of the sampler deleted, directly in its memory.
  void EmptySampler();
  // Message types the sampler received since the last call.
  std::vector<int> TakeCommands();
  // The wavesamples whose data the sampler sent since the last call, as (instrument, number),
  // each once however many blocks it took.
  std::vector<std::pair<int, int>> TakeFetched();
  // What the sampler holds for a wavesample: its record and its data.
  Record SamplerRecord(int instrument, int waveSample);
  // A manifest read back, with the records its files hold.
  Snapshot ReadBackup(const std::string& folder, bool& complete);

 private:
  size_t logSeen_ = 0;
  size_t commandsSeen_ = 0;
};

// Flips one bit of a file's last byte.
void Corrupt(const std::string& path);
// The samples of a WAV file a backup wrote.
std::vector<int16_t> BackupSamples(const std::string& path);

}  // namespace kelvora::batch::test
