#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "sim/DemoContent.h"
#include "sim/SamplerStateFile.h"
#include "sim/SamplerStatus.h"
#include "sim/SimulatedSampler.h"
#include "sim_support.h"

namespace kelvora::sim::test {
namespace {

namespace fs = std::filesystem;

class StateFile : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    dir_ = fs::temp_directory_path() / ("kelvora-sim-" + test);
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }
  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  static SimOptions WithFile(const std::string& path) {
    SimOptions options;
    options.stateFile = path;
    return options;
  }

  fs::path dir_;
};

void ExpectSameContent(const SamplerMemory& a, const SamplerMemory& b) {
  for (int i = 0; i < kInstruments; ++i) {
    ASSERT_EQ(a.Instrument(i) != nullptr, b.Instrument(i) != nullptr) << i;
    if (!a.Instrument(i)) continue;
    EXPECT_EQ(a.Instrument(i)->record, b.Instrument(i)->record);
    for (int l = 0; l < kLayers; ++l) {
      ASSERT_EQ(a.Layer(i, l) != nullptr, b.Layer(i, l) != nullptr);
      if (a.Layer(i, l)) {
        EXPECT_EQ(a.Layer(i, l)->record, b.Layer(i, l)->record);
      }
    }
    for (int w = 1; w <= kWaveSamples; ++w) {
      const WaveSampleSlot* x = a.WaveSample(i, w);
      const WaveSampleSlot* y = b.WaveSample(i, w);
      ASSERT_EQ(x != nullptr, y != nullptr);
      if (!x) continue;
      EXPECT_EQ(x->record, y->record);
      EXPECT_EQ(x->copyOf, y->copyOf);
      EXPECT_EQ(*x->data, *y->data);
    }
  }
}

TEST_F(StateFile, RoundTripKeepsObjectsRecordsDataAndCopies) {
  SamplerMemory saved(SamplerModel::Eps16Plus, 1024 * 1024);
  LoadDemoContent(saved);
  saved.SetWsWord(0, 2, protocol::kWsHighKey, 100 << 8);
  saved.Resize(1, 1, 5);
  const std::string path = PathOf("memory.kvsim");
  std::string error;
  ASSERT_TRUE(SamplerStateFile::Save(saved, path, error)) << error;
  EXPECT_FALSE(fs::exists(path + ".tmp"));

  SamplerMemory loaded(SamplerModel::Eps16Plus, 1024 * 1024);
  ASSERT_TRUE(SamplerStateFile::Load(loaded, path, error)) << error;
  ExpectSameContent(saved, loaded);
  EXPECT_EQ(loaded.WaveSample(0, 3)->data, loaded.WaveSample(0, 1)->data);  // still shared
  EXPECT_EQ(loaded.UsedWords(), saved.UsedWords());
}

TEST_F(StateFile, DamagedForeignOrTooLargeContentIsRefusedAndChangesNothing) {
  SamplerMemory demo(SamplerModel::Eps16Plus, 1024 * 1024);
  LoadDemoContent(demo);
  const std::string good = SamplerStateFile::Serialize(demo);
  SamplerMemory target(SamplerModel::Eps16Plus, 1024 * 1024);
  AddWaveSample(target, 5, 1, WaveData(10, 3));
  std::string error;

  std::string flipped = good;
  flipped[good.size() / 2] ^= 0x01;
  EXPECT_FALSE(SamplerStateFile::Deserialize(target, flipped, error));
  EXPECT_NE(error.find("checksum"), std::string::npos);
  EXPECT_FALSE(SamplerStateFile::Deserialize(target, good.substr(0, good.size() - 1), error));
  EXPECT_FALSE(SamplerStateFile::Deserialize(target, "", error));
  EXPECT_FALSE(SamplerStateFile::Deserialize(target, std::string(100, 'x'), error));
  SamplerMemory small(SamplerModel::Eps16Plus, 4096);
  EXPECT_FALSE(SamplerStateFile::Deserialize(small, good, error));
  EXPECT_NE(error.find("do not fit"), std::string::npos);
  EXPECT_EQ(small.UsedWords(), 0);
  ASSERT_NE(target.Instrument(5), nullptr);
  EXPECT_EQ(target.Instrument(0), nullptr);
  EXPECT_FALSE(SamplerStateFile::Load(target, PathOf("missing"), error));
}

TEST_F(StateFile, SeparateRunsOfTheSamplerSeeTheSameMemory) {
  const std::string path = PathOf("sampler.kvsim");
  {
    SimulatedSampler first(WithFile(path), [](const uint8_t*, size_t) {});
    EXPECT_TRUE(first.StateError().empty());
    first.WithMemory([](SamplerMemory& memory) { return memory.RemoveInstrument(1); });
  }
  ASSERT_TRUE(fs::exists(path));
  SimulatedSampler second(WithFile(path), [](const uint8_t*, size_t) {});
  EXPECT_TRUE(second.StateError().empty());
  second.WithMemory([](SamplerMemory& memory) {
    EXPECT_NE(memory.Instrument(0), nullptr);
    EXPECT_EQ(memory.Instrument(1), nullptr);
    return 0;
  });
}

TEST_F(StateFile, AnUnreadableStateFileIsReportedAndNeverReplaced) {
  const std::string path = PathOf("broken.kvsim");
  std::ofstream(path, std::ios::binary) << "KVSIMMEM but then nothing sensible";
  const std::string before = Read(path);
  {
    SimulatedSampler sampler(WithFile(path), [](const uint8_t*, size_t) {});
    EXPECT_NE(sampler.StateError().find(path), std::string::npos);
    sampler.WithMemory([](SamplerMemory& memory) {
      EXPECT_NE(memory.Instrument(0), nullptr);  // the demo content instead
      return 0;
    });
    EXPECT_FALSE(sampler.SaveState());
  }
  EXPECT_EQ(Read(path), before);
}

}  // namespace
}  // namespace kelvora::sim::test
