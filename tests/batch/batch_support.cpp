#include "batch/batch_support.h"

#include <gtest/gtest.h>

#include "batch/BackupFolder.h"
#include "batch/BackupReader.h"
#include "batch/RestoreJob.h"
#include "batch/VerifyJob.h"
#include "batch/WavSamples.h"
#include "protocol/Records.h"
#include "protocol/Sysex.h"

namespace kelvora::batch::test {

void RecordingJobProgress::JobStarted(int fileCount, int64_t sampleCount) {
  files = fileCount;
  samples = sampleCount;
}

void RecordingJobProgress::FileFinished(bool ok) {
  ++finished;
  failedFiles += ok ? 0 : 1;
  if (onFileFinished) onFileFinished(finished);
}

JobResult BatchFixture::Backup(const std::string& folder, RecordingJobProgress& progress,
                               BackupOptions options) {
  BackupJob job(*eps, progress, options);
  return job.Run(folder);
}

std::vector<std::pair<int, int>> BatchFixture::TakeFetched() {
  Settle();
  const std::vector<sim::LoggedMessage> messages = Sampler().Log().Messages();
  std::vector<std::pair<int, int>> requests;
  for (size_t n = logSeen_; n < messages.size(); ++n) {
    const sim::LoggedMessage& message = messages[n];
    if (message.type == protocol::kGetWsData && message.status == 0 && message.words.size() >= 3) {
      const std::pair<int, int> ws{message.words[0], message.words[2]};
      if (requests.empty() || requests.back() != ws) requests.push_back(ws);
    }
  }
  logSeen_ = messages.size();
  return requests;
}

Record BatchFixture::SamplerRecord(int instrument, int waveSample) {
  Settle();
  return Sampler().WithMemory([&](sim::SamplerMemory& memory) {
    const sim::WaveSampleSlot* slot = memory.WaveSample(instrument, waveSample);
    return slot ? Record(slot->record.begin(), slot->record.end()) : Record{};
  });
}

Snapshot BatchFixture::ReadBackup(const std::string& root, bool& complete) {
  BackupContents contents;
  std::string failure;
  EXPECT_TRUE(batch::ReadBackup(BackupFolder(root), contents, failure)) << failure;
  EXPECT_TRUE(contents.damaged.empty()) << contents.damaged.front();
  complete = contents.complete;
  return contents.snapshot;
}

JobResult BatchFixture::Verify(const std::string& folder, RecordingJobProgress& progress) {
  return VerifyJob(*eps, progress).Run(folder);
}

JobResult BatchFixture::Restore(const std::string& folder, RestoreOptions options) {
  RecordingJobProgress progress;
  return RestoreJob(*eps, progress, options).Run(folder);
}

JobResult BatchFixture::Restore(const std::string& folder, RecordingJobProgress& progress) {
  return RestoreJob(*eps, progress).Run(folder);
}

void BatchFixture::EmptySampler() {
  Sampler().WithMemory([](sim::SamplerMemory& memory) {
    memory.Clear();
    return 0;
  });
}

std::vector<int> BatchFixture::TakeCommands() {
  Settle();
  const std::vector<sim::LoggedMessage> messages = Sampler().Log().Messages();
  std::vector<int> types;
  for (size_t n = commandsSeen_; n < messages.size(); ++n) types.push_back(messages[n].type);
  commandsSeen_ = messages.size();
  return types;
}

void Corrupt(const std::string& path) {
  transfer::test::Bytes bytes = transfer::test::Load(path);
  ASSERT_FALSE(bytes.empty());
  bytes.back() ^= 0x01;
  transfer::test::Save(path, bytes);
}

std::vector<int16_t> BackupSamples(const std::string& path) {
  WavSamples samples;
  std::string failure;
  if (!samples.Open(path, failure)) return {};
  std::vector<int16_t> all(static_cast<size_t>(samples.Count()));
  const int read = samples.Read(all.data(), static_cast<int>(all.size()));
  all.resize(static_cast<size_t>(read));
  return all;
}

}  // namespace kelvora::batch::test
