#include <gtest/gtest.h>

#include "batch/KeyNames.h"
#include "batch/SlotPath.h"

namespace kelvora::batch {
namespace {

TEST(SlotPathTest, OneTwoOrThreeNumbersFromOneReadAsTheSessionNumbersThem) {
  std::string error;
  EXPECT_EQ(ParseSlotPath("3", error), (SlotPath{2, -1, 0}));
  EXPECT_EQ(ParseSlotPath("3/1", error), (SlotPath{2, 0, 0}));
  EXPECT_EQ(ParseSlotPath("3/1/2", error), (SlotPath{2, 0, 2}));
  EXPECT_EQ(ParseSlotPath("8/8/127", error), (SlotPath{7, 7, 127}));
  for (const char* text : {"3", "3/1", "8/8/127", "1/1/1"}) {
    EXPECT_EQ(FormatSlotPath(*ParseSlotPath(text, error)), text);
  }
  EXPECT_EQ(FormatWaveSample(2, -1, 5), "3/?/5");
}

TEST(SlotPathTest, AnythingElseIsRefusedNamingThePartAndItsRange) {
  const struct {
    const char* text;
    const char* says;
  } cases[] = {
      {"0", "the instrument must be a number from 1 to 8, not '0'"},
      {"9", "instrument must be a number from 1 to 8"},
      {"3/9", "the layer must be a number from 1 to 8, not '9'"},
      {"3/1/128", "the wavesample must be a number from 1 to 127, not '128'"},
      {"3/1/2/4", "more than three parts"},
      {"", "the instrument must be a number from 1 to 8."},
      {"3/", "the layer must be a number"},
      {"a", "not 'a'"},
      {"-1", "not '-1'"},
      {"3/01x", "not '01x'"},
      {"1000000000000", "instrument"},
  };
  for (const auto& c : cases) {
    std::string error;
    EXPECT_FALSE(ParseSlotPath(c.text, error)) << c.text;
    EXPECT_NE(error.find(c.says), std::string::npos) << c.text << ": " << error;
  }
}

TEST(KeyNamesTest, NumbersAndNoteNamesWithMiddleCAsC4) {
  EXPECT_EQ(ParseKey("60"), 60);
  EXPECT_EQ(ParseKey("C4"), 60);
  EXPECT_EQ(ParseKey("c4"), 60);
  EXPECT_EQ(ParseKey("C#3"), 49);
  EXPECT_EQ(ParseKey("C3+"), 49) << "the windows' way of writing a sharp";
  EXPECT_EQ(ParseKey("Db3"), 49);
  EXPECT_EQ(ParseKey("A-1"), 9);
  EXPECT_EQ(ParseKey("C-1"), 0);
  EXPECT_EQ(ParseKey("G9"), 127);
  EXPECT_EQ(ParseKey("A0"), 21);
  EXPECT_EQ(ParseKey("C8"), 108);
  for (const char* bad : {"", "128", "G#9", "Cb-1", "H4", "C", "C44", "C-2", "4C", "1000"}) {
    EXPECT_FALSE(ParseKey(bad)) << bad;
  }
  for (int key = 0; key <= 127; ++key) EXPECT_EQ(ParseKey(KeyName(key)), key) << key;
  EXPECT_EQ(KeyName(61), "C#4");
  EXPECT_EQ(KeyLabel(9), "A-1 (9)");
}

TEST(KeyNamesTest, AFileNameTellsItsRootByNoteOrNumberAsSampleLibrariesWriteThem) {
  EXPECT_EQ(KeyFromFileName("/samples/Piano_C#3.wav"), 49);
  EXPECT_EQ(KeyFromFileName("Piano_061.wav"), 61);
  EXPECT_EQ(KeyFromFileName("Strings A-1.aif"), 9);
  EXPECT_EQ(KeyFromFileName("Bass-Eb2.flac"), 39);
  EXPECT_EQ(KeyFromFileName("C3.wav"), 48);
  EXPECT_EQ(KeyFromFileName("Piano_C3_127.wav"), 48) << "a note name wins over a number";
  EXPECT_EQ(KeyFromFileName("Vox_A2_then_E3.wav"), 52) << "the last note name counts";
  EXPECT_EQ(KeyFromFileName("Pad 2.wav"), std::nullopt) << "one digit is no key";
  EXPECT_EQ(KeyFromFileName("Kick.wav"), std::nullopt);
  EXPECT_EQ(KeyFromFileName("Sub3.wav"), std::nullopt) << "a letter inside a word is no note";
  EXPECT_EQ(KeyFromFileName("Piano061.wav"), std::nullopt) << "a number inside a word neither";
  EXPECT_EQ(KeyFromFileName("Take_200.wav"), std::nullopt) << "above 127";
  EXPECT_EQ(KeyFromFileName("/C4/kick.wav"), std::nullopt) << "the folder does not count";
  EXPECT_EQ(KeyFromFileName("Synth_C3.C4"), 48) << "the extension does not count";
}

}  // namespace
}  // namespace kelvora::batch
