// The folder's file rules: what counts as a backup folder, atomic writes, record files and the
// WAV files read back for hashing and restore.
#include <gtest/gtest.h>

#include <filesystem>

#include "batch/BackupFolder.h"
#include "batch/WavSamples.h"
#include "batch/batch_support.h"

namespace kelvora::batch::test {
namespace {

namespace fs = std::filesystem;
using transfer::test::Load;
using transfer::test::Save;

TEST(BackupFolderTest, KnowsWhichFoldersHoldABackup) {
  TempFolder temp;
  using State = BackupFolder::State;
  EXPECT_EQ(BackupFolder(temp / "none").Examine(), State::Missing);
  fs::create_directories(temp / "empty");
  EXPECT_EQ(BackupFolder(temp / "empty").Examine(), State::Empty);
  Save(temp / "plain", {1});
  EXPECT_EQ(BackupFolder(temp / "plain").Examine(), State::NotAFolder);
  fs::create_directories(temp / "backup");
  Save(temp / "backup/manifest.json", {'{', '}'});
  EXPECT_EQ(BackupFolder(temp / "backup").Examine(), State::Backup);
  Save(temp / "empty/x", {1});
  EXPECT_EQ(BackupFolder(temp / "empty").Examine(), State::Foreign);
}

TEST(BackupFolderTest, WritesAtomicallyAndReadsRecordsOnlyWhenTheyMatch) {
  TempFolder temp;
  const BackupFolder folder(temp / "b");
  std::string failure;
  ASSERT_TRUE(folder.Create(failure));
  const Record record = {0x4100, 0xFFFF, 0, 0x0102};
  StoredFile stored;
  ASSERT_TRUE(folder.WriteRecord("instrument-1/ws-001.words", record, stored, failure)) << failure;
  EXPECT_EQ(Load(folder.Path(stored.path)),
            (transfer::test::Bytes{0x00, 0x41, 0xFF, 0xFF, 0, 0, 0x02, 0x01}));
  EXPECT_FALSE(fs::exists(folder.Path(stored.path) + ".part"));
  Record back;
  EXPECT_TRUE(folder.ReadRecord(stored, 4, back));
  EXPECT_EQ(back, record);
  EXPECT_FALSE(folder.ReadRecord(stored, 5, back));  // another record's size
  Corrupt(folder.Path(stored.path));
  EXPECT_FALSE(folder.ReadRecord(stored, 4, back));
  EXPECT_FALSE(folder.Matches(stored));

  Save(folder.Path("instrument-1/x.wav.part"), {1});
  folder.RemoveParts();
  EXPECT_FALSE(fs::exists(folder.Path("instrument-1/x.wav.part")));
  EXPECT_FALSE(folder.Commit("missing.part", "missing", failure));
  EXPECT_NE(failure.find("missing"), std::string::npos);
}

TEST(BackupFolderTest, ReadsOnlyWholeMonoSixteenBitFiles) {
  TempFolder temp;
  transfer::test::WriteMono16(temp / "good.wav", {1, -2, 300});
  std::string sha;
  int64_t count = 0;
  std::string failure;
  ASSERT_TRUE(HashSamples(temp / "good.wav", sha, count, failure)) << failure;
  EXPECT_EQ(count, 3);
  EXPECT_EQ(sha, Sha256Of(QByteArray("\x01\x00\xfe\xff\x2c\x01", 6)));

  transfer::test::WritePcm(temp / "stereo.wav", 2, 16, 44100, {1, 0, 2, 0});
  transfer::test::WritePcm(temp / "bytes.wav", 1, 8, 44100, {1, 2});
  transfer::test::Bytes cut = Load(temp / "good.wav");
  cut.resize(cut.size() - 2);
  Save(temp / "cut.wav", cut);
  for (const char* name : {"stereo.wav", "bytes.wav", "cut.wav", "none.wav"}) {
    failure.clear();
    EXPECT_FALSE(HashSamples(temp / name, sha, count, failure)) << name;
    EXPECT_NE(failure.find(name), std::string::npos) << failure;
  }
}

}  // namespace
}  // namespace kelvora::batch::test
