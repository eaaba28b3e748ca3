#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "cli/UploadOptions.h"

namespace kelvora::cli {
namespace {

UploadOptions Parsed(const std::string& root, const std::string& range, const std::string& channel,
                     const std::string& rate) {
  UploadOptions options;
  std::string error;
  EXPECT_TRUE(ParseUploadOptions(root, range, channel, rate, options, error)) << error;
  return options;
}

TEST(UploadOptionsTest, KeysRangesChannelsAndRatesAsTheUploadTakesThem) {
  UploadOptions options = Parsed("", "", "", "");
  EXPECT_FALSE(options.rootKey);
  EXPECT_FALSE(options.rootRequired);
  EXPECT_FALSE(options.rangeGiven);
  EXPECT_EQ(options.pick.mode, transfer::fcMono);
  EXPECT_EQ(options.rate, 0);

  options = Parsed("auto", "A-1-C#3", "3", "22321");
  EXPECT_TRUE(options.rootRequired);
  EXPECT_EQ(options.range, batch::RangeRule::Custom);
  EXPECT_EQ(options.low, 9) << "a key with a dash in it still splits from the other";
  EXPECT_EQ(options.high, 49);
  EXPECT_EQ(options.pick.mode, transfer::fcChannel);
  EXPECT_EQ(options.pick.channel, 2) << "channels are numbered from 1 on the command line";
  EXPECT_EQ(options.rate, 22321);

  options = Parsed("Db3", "21-108", "right", "unchanged");
  EXPECT_EQ(options.rootKey, 49);
  EXPECT_EQ(options.low, 21);
  EXPECT_EQ(options.high, 108);
  EXPECT_EQ(options.pick.mode, transfer::fcRight);
  EXPECT_TRUE(options.unchanged);
  EXPECT_EQ(Parsed("", "root", "left", "auto").range, batch::RangeRule::Root);
  EXPECT_EQ(Parsed("", "auto", "mono", "").range, batch::RangeRule::Auto);

  for (const auto& bad : std::vector<std::vector<std::string>>{{"H2", "", "", ""},
                                                               {"", "C3", "", ""},
                                                               {"", "C3-", "", ""},
                                                               {"", "", "0", ""},
                                                               {"", "", "257", ""},
                                                               {"", "", "", "0"},
                                                               {"", "", "", "fast"}}) {
    std::string error;
    EXPECT_FALSE(ParseUploadOptions(bad[0], bad[1], bad[2], bad[3], options, error));
    EXPECT_FALSE(error.empty());
  }
}

TEST(UploadOptionsTest, AFolderGivesItsAudioFilesByNameAndNothingElse) {
  QTemporaryDir folder;
  for (const char* name : {"b.WAV", "a.flac", "c.aiff", "notes.txt", "d.wav.part"}) {
    QFile file(folder.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  }
  QDir(folder.path()).mkdir("sub.wav");
  std::vector<std::string> files;
  std::string error;
  ASSERT_TRUE(ExpandUploadFiles({folder.path().toStdString()}, files, error)) << error;
  const std::string root = folder.path().toStdString() + "/";
  EXPECT_EQ(files, (std::vector<std::string>{root + "a.flac", root + "b.WAV", root + "c.aiff"}));

  files.clear();
  EXPECT_FALSE(ExpandUploadFiles({folder.filePath("sub.wav").toStdString()}, files, error));
  EXPECT_NE(error.find("holds no audio files"), std::string::npos) << error;
}

}  // namespace
}  // namespace kelvora::cli
