#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <string>

#include "cli/DeviceCatalog.h"
#include "cli/ExitCode.h"
#include "cli/Program.h"
#include "support/FakeClock.h"
#include "support/ScopedClock.h"
#include "support/TempFolder.h"

namespace kelvora::cli {
namespace {

// kelvora-cli run in this process on virtual time, its streams read back as text.
class InProcessRun {
 public:
  InProcessRun() : out_(std::tmpfile()), err_(std::tmpfile()) {}
  ~InProcessRun() {
    std::fclose(out_);
    std::fclose(err_);
  }

  int Run(const std::vector<std::string>& arguments,
          const std::string& settings = "/nonexistent/Kelvora.ini") {
    return RunProgram(arguments, {out_, err_, false, settings});
  }
  std::string Err() const { return Read(err_); }

 private:
  static std::string Read(std::FILE* file) {
    std::rewind(file);
    std::string text;
    for (int c; (c = std::fgetc(file)) != EOF;) text += static_cast<char>(c);
    return text;
  }

  testing::FakeClock clock_{1000};
  testing::ScopedClock useClock_{clock_};
  std::FILE* out_;
  std::FILE* err_;
};

TEST(CliConnectionTest, ASamplerThatDoesNotAnswerIsExitThreeWithTheDeviceAndChannelNamed) {
  InProcessRun run;
  EXPECT_EQ(run.Run({"--device", "sim", "--channel", "2", "probe"}), kExitNoSampler);
  EXPECT_NE(run.Err().find("No sampler answered on 'Simulated EPS-16 PLUS', MIDI channel 2. "
                           "The simulated sampler listens on MIDI channel 1."),
            std::string::npos)
      << run.Err();
}

TEST(CliConnectionTest, TheWindowProgramsSettingsChooseDeviceAndChannelUnlessTheCommandLineDoes) {
  const testing::TempFolder folder;
  const std::string ini = folder / "Kelvora.ini";
  std::FILE* file = std::fopen(ini.c_str(), "w");
  // Device numbers from another day, when the simulated sampler was listed fifth.
  std::fputs(
      "[Preferences]\nMidiIn=4\nMidiInName=Simulated EPS-16 PLUS\nMidiOut=4\n"
      "MidiOutName=Simulated EPS-16 PLUS\nChannel=2\n",
      file);
  std::fclose(file);
  InProcessRun run;
  EXPECT_EQ(run.Run({"probe"}, ini), kExitNoSampler);
  EXPECT_NE(run.Err().find("'Simulated EPS-16 PLUS', MIDI channel 2"), std::string::npos)
      << run.Err();
  EXPECT_EQ(run.Run({"--channel", "1", "probe"}, ini), kExitDone) << run.Err();
}

TEST(CliConnectionTest, AStateFileThatCannotBeReadStopsTheSimulatedSamplerAndIsKept) {
  const testing::TempFolder folder;
  const std::string path = folder / "damaged.state";
  std::FILE* file = std::fopen(path.c_str(), "wb");
  std::fputs("not a sampler's memory", file);
  std::fclose(file);
  InProcessRun run;
  EXPECT_EQ(run.Run({"--device", "sim", "--sim-state", path, "probe"}), kExitFailed);
  EXPECT_NE(run.Err().find("cannot start from its state file '" + path + "'"), std::string::npos)
      << run.Err();
  file = std::fopen(path.c_str(), "rb");
  char kept[32] = {};
  ASSERT_NE(std::fgets(kept, sizeof kept, file), nullptr);
  std::fclose(file);
  EXPECT_STREQ(kept, "not a sampler's memory")
      << "a file the sampler could not read is not overwritten";
}

TEST(CliConnectionTest, AListingNobodyReadsAnyMoreIsAFailureNotADeathBySigpipe) {
  int ends[2];
  ASSERT_EQ(pipe(ends), 0);
  close(ends[0]);
  std::FILE* gone = fdopen(ends[1], "w");
  std::FILE* err = std::tmpfile();
  int exit = 0;
  {
    testing::FakeClock clock{1000};
    testing::ScopedClock useClock(clock);
    exit = RunProgram({"--device", "sim", "ls"}, {gone, err, false, "/nonexistent"});
  }
  EXPECT_EQ(exit, kExitFailed);
  std::fclose(gone);
  std::fclose(err);
}

TEST(DeviceCatalogTest, AnInputAndAnOutputOfOneNameAreOneDeviceAndTheSimulatorComesLast) {
  using midi::DeviceName;
  const DeviceCatalog catalog(
      {{"Through", "Port-0"}, {"Keys", "In"}, {"Box", "MIDI 1"}, {"Box", "MIDI 1"}},
      {{"Through", "Port-0"}, {"Box", "MIDI 1"}, {"Box", "MIDI 1"}, {"Synth", "Out"}},
      "Simulated EPS-16 PLUS");
  const auto& rows = catalog.Rows();
  ASSERT_EQ(rows.size(), 6u);
  const struct {
    std::string name;
    int input;
    int output;
  } expected[] = {{"Through:Port-0", 0, 0}, {"Keys:In", 1, -1},   {"Box:MIDI 1", 2, 1},
                  {"Box:MIDI 1", 3, 2},     {"Synth:Out", -1, 3}, {"Simulated EPS-16 PLUS", 4, 4}};
  for (size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i].name.Full(), expected[i].name) << i;
    EXPECT_EQ(rows[i].input, expected[i].input) << i;
    EXPECT_EQ(rows[i].output, expected[i].output) << i;
  }
  EXPECT_TRUE(rows.back().simulated);
  EXPECT_EQ(catalog.Find("SIM").index, 5);
  EXPECT_EQ(catalog.Find("Keys").index, 1);
}

}  // namespace
}  // namespace kelvora::cli
