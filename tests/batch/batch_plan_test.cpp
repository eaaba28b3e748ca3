#include <gtest/gtest.h>

#include "batch/KeyNames.h"
#include "batch/UploadPlan.h"

namespace kelvora::batch {
namespace {

PlanFile File(const std::string& path, std::optional<int> root = std::nullopt) {
  PlanFile file;
  file.path = path;
  file.frames = 1000;
  file.rate = 44100;
  file.rootKey = root ? root : KeyFromFileName(path);
  file.memoryBlocks = 4;
  file.wireSeconds = 1.5;
  return file;
}

PlanRequest To(const std::string& target, RangeRule range = RangeRule::Full) {
  std::string error;
  return {*ParseSlotPath(target, error), range};
}

InstrumentSlots Existing(std::initializer_list<int> layers, std::initializer_list<int> used) {
  InstrumentSlots slots;
  slots.exists = true;
  for (const int l : layers) slots.layerInUse[l] = true;
  for (const int w : used) slots.waveSampleInUse[w - 1] = true;
  return slots;
}

TEST(UploadPlanTest, FiveFilesNamedByNoteSplitTheKeyboardHalfwayBetweenTheirRoots) {
  const std::vector<PlanFile> files = {File("Piano_G4.wav"), File("Piano_C2.wav"),
                                       File("Piano_C4.wav"), File("Piano_A-1.wav"),
                                       File("Piano_C#4.wav")};
  const UploadPlan plan = PlanUpload(To("4", RangeRule::Auto), files, InstrumentSlots{});
  ASSERT_TRUE(plan.Fits()) << plan.refusal;
  const struct {
    const char* path;
    int root, low, high, waveSample;
  } expected[] = {{"Piano_A-1.wav", 9, 9, 22, 1},
                  {"Piano_C2.wav", 36, 23, 48, 2},
                  {"Piano_C4.wav", 60, 49, 60, 3},
                  {"Piano_C#4.wav", 61, 61, 64, 4},
                  {"Piano_G4.wav", 67, 65, 108, 5}};
  ASSERT_EQ(plan.files.size(), 5u);
  for (size_t i = 0; i < 5; ++i) {
    const PlannedFile& file = plan.files[i];
    EXPECT_EQ(file.file.path, expected[i].path);
    EXPECT_EQ(file.rootKey, expected[i].root) << file.file.path;
    EXPECT_EQ(file.low, expected[i].low) << file.file.path;
    EXPECT_EQ(file.high, expected[i].high) << file.file.path;
    EXPECT_EQ(file.waveSample, expected[i].waveSample) << file.file.path;
    EXPECT_EQ(file.layer, 0);
    EXPECT_EQ(file.range, RangeRule::Custom);
    EXPECT_FALSE(file.replaces);
  }
  EXPECT_EQ(plan.instrument, 3);
  EXPECT_EQ(plan.memoryBlocks, 20);
  EXPECT_DOUBLE_EQ(plan.wireSeconds, 7.5);
}

TEST(UploadPlanTest, AnExistingInstrumentLendsItsFreeWavesamplesOrNamedOnesAreReplaced) {
  const InstrumentSlots slots = Existing({0, 2}, {1, 2, 4});
  UploadPlan plan = PlanUpload(To("2/3"), {File("a.wav", 60), File("b.wav", 62)}, slots);
  ASSERT_TRUE(plan.Fits()) << plan.refusal;
  EXPECT_EQ(plan.files[0].waveSample, 3);
  EXPECT_EQ(plan.files[1].waveSample, 5);
  EXPECT_EQ(plan.files[1].layer, 2);
  EXPECT_EQ(plan.files[0].range, RangeRule::Full) << "in the order given, ranges as asked";

  plan = PlanUpload(To("2/1/2", RangeRule::Root), {File("a.wav", 60), File("b.wav", 62)}, slots);
  ASSERT_TRUE(plan.Fits()) << plan.refusal;
  EXPECT_TRUE(plan.files[0].replaces);
  EXPECT_FALSE(plan.files[1].replaces);
  EXPECT_EQ(plan.files[1].waveSample, 3);
  EXPECT_EQ(plan.files[1].low, 62);
  EXPECT_EQ(plan.files[1].high, 62);

  plan = PlanUpload(To("2"), {File("a.wav", 60)}, Existing({3}, {}));
  EXPECT_EQ(plan.files[0].layer, 3) << "without layer 1, the first layer the instrument has";
}

TEST(UploadPlanTest, APlanThatDoesNotFitIsRefusedWithASentenceNamingTheSlotOrTheFile) {
  InstrumentSlots full = Existing({0}, {});
  for (int w = 1; w <= 125; ++w) full.waveSampleInUse[w - 1] = true;
  const struct {
    PlanRequest request;
    std::vector<PlanFile> files;
    InstrumentSlots slots;
    const char* says;
  } cases[] = {
      {To("1"),
       {File("a.wav", 1), File("b.wav", 2), File("c.wav", 3)},
       full,
       "The 3 files need 3 free wavesamples, and instrument 1 has 2 free."},
      {To("1/1/126"),
       {File("a.wav", 1), File("b.wav", 2), File("c.wav", 3)},
       full,
       "3 files from wavesample 126 would pass wavesample 127 of instrument 1."},
      {To("1/2"), {File("a.wav", 1)}, full, "Instrument 1 has no layer 2"},
      {To("5/2"), {File("a.wav", 1)}, InstrumentSlots{}, "creates instrument 5 with layer 1 only"},
      {To("5/1/3"), {File("a.wav", 1)}, InstrumentSlots{}, "with wavesample 1 first"},
      {To("5", RangeRule::Auto),
       {File("Kick.wav")},
       InstrumentSlots{},
       "The root key of 'Kick.wav' is neither in its metadata nor in its name"},
      {To("5", RangeRule::Auto),
       {File("x_C3.wav"), File("y_C3.wav")},
       InstrumentSlots{},
       "'x_C3.wav' and 'y_C3.wav' both have the root key C3 (48)"},
  };
  for (const auto& c : cases) {
    const UploadPlan plan = PlanUpload(c.request, c.files, c.slots);
    EXPECT_FALSE(plan.Fits()) << c.says;
    EXPECT_NE(plan.refusal.find(c.says), std::string::npos) << plan.refusal;
  }
}

}  // namespace
}  // namespace kelvora::batch
