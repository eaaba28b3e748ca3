// kelvora-sim --stdio as a child process, driven through its pipes as a host would drive a
// sampler on a cable.
#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "cli_child.h"
#include "cli_host.h"
#include "protocol/NameCodec.h"
#include "protocol/Records.h"
#include "protocol/Sysex.h"

namespace kelvora::simcli::test {
namespace {

using namespace protocol;

constexpr int kAck = 0;
constexpr int kWait = 1;
constexpr int kNoInstrument = 5;
constexpr int kNoWaveSample = 8;
constexpr int kSlowDown = 20;
const std::vector<int> kDemoInstruments{kAck, kAck, kAck, 5, 5, 5, 5, 5};

std::string TempPath(const std::string& name) {
  return (std::filesystem::path(testing::TempDir()) /
          (name + "-" + std::to_string(getpid()) + ".kvsim"))
      .string();
}

// kelvora-sim --stdio with these options, and a host on its pipes.
class Sim : public SamplerLink, public Host {
 public:
  explicit Sim(std::vector<std::string> options)
      : Host(static_cast<SamplerLink&>(*this)), child_(KELVORA_SIM_PROGRAM, With(options)) {}

  ChildProcess& Child() { return child_; }
  bool Write(const Bytes& bytes) override { return child_.Write(bytes); }
  Bytes ReadMessage() override { return child_.ReadMessage(); }

 private:
  static std::vector<std::string> With(std::vector<std::string> options) {
    options.insert(options.begin(), "--stdio");
    return options;
  }

  ChildProcess child_;
};

TEST(SimCliStdio, AnswersAHostSessionThroughThePipe) {
  Sim sim({});
  ASSERT_TRUE(sim.Child().Started());
  sim.Send([](ByteSink& s) { SendProbe(s, 1); });
  EXPECT_EQ(sim.Answer(), kAck);

  const std::vector<int> instrument = sim.Get([](ByteSink& s) { SendGetInstrumentParams(s, 1, 0); },
                                              [](ByteSink& s) {
                                                SendInstrumentParamsHeader(s, 1, Target{0, 0, 0});
                                              },
                                              kInstrRecordWords);
  ASSERT_EQ(instrument.size(), static_cast<size_t>(kInstrRecordWords));
  EXPECT_EQ(DecodeName(instrument.data()), "Demo Synth");
  EXPECT_EQ(sim.InstrumentStatuses(), kDemoInstruments);  // the three demo instruments
  const std::vector<int> layer = sim.Get([](ByteSink& s) { SendGetLayerParams(s, 1, 2, 1); },
                                         [](ByteSink& s) {
                                           SendLayerParamsHeader(s, 1, Target{2, 1, 0});
                                         },
                                         kLayerRecordWords);
  ASSERT_EQ(layer.size(), static_cast<size_t>(kLayerRecordWords));

  const Target first{0, 0, 1};
  const std::vector<int> params =
      sim.Get([&](ByteSink& s) { SendGetWsParams(s, 1, first); },
              [&](ByteSink& s) { SendWsParamsHeader(s, 1, first); }, kWsRecordWords);
  ASSERT_EQ(params.size(), static_cast<size_t>(kWsRecordWords));
  EXPECT_GT(GetPosition(params.data(), kWsSampleEnd), 0);

  const std::vector<int> samples = Ramp(300, 211, -30000);
  sim.Upload(3, samples);
  EXPECT_EQ(sim.Download(Target{3, 0, 1}, 0, 300), samples);
  EXPECT_EQ(sim.Download(Target{3, 0, 1}, 250, 300),
            std::vector<int>(samples.begin() + 250, samples.end()));

  EXPECT_EQ(sim.Child().Finish(), 0);
  EXPECT_TRUE(sim.Child().Output().empty()) << "bytes on stdout beyond the answers";
  EXPECT_EQ(sim.Child().Error(), "");
}

TEST(SimCliStdio, OptionsShapeTheSampler) {
  Sim sim({"--channel", "3", "--empty"});
  sim.Send([](ByteSink& s) { SendProbe(s, 1); });  // another channel: not for this sampler
  sim.Send([](ByteSink& s) { SendProbe(s, 3); });
  EXPECT_EQ(StatusOf(sim.Next(), 3), kAck);
  sim.Send([](ByteSink& s) { SendGetInstrumentParams(s, 3, 0); });
  EXPECT_EQ(StatusOf(sim.Next(), 3), kNoInstrument) << "--empty still loaded the demo";
  EXPECT_EQ(sim.Child().Finish(), 0);
  EXPECT_NE(sim.Child().Error().find("1 message(s) ignored"), std::string::npos)
      << sim.Child().Error();
}

// The original EPS keeps 13 bits; the documented overview reading cuts the whole range into
// 512 sections (of 2 samples here), the default one only its first half (sections of 1).
TEST(SimCliStdio, ModelAndOverviewReadingReachTheSampler) {
  const std::vector<int> ramp = Ramp(1024, 8, 0);
  for (const char* reading : {"half", "whole"}) {
    Sim sim({"--model", "eps", "--empty", "--overview", reading});
    sim.Upload(0, ramp);
    const Target t{0, 0, 1};
    EXPECT_EQ(sim.Download(t, 0, 2), (std::vector<int>{0, 8}));
    EXPECT_EQ(sim.Put([&](ByteSink& s) { SendPutWsData(s, 1, t, 0, 1); }, {0x1237}),
              (std::vector<int>{kAck, kAck}));
    EXPECT_EQ(sim.Download(t, 0, 1), std::vector<int>{0x1230}) << "EPS keeps 13 bits";
    const std::vector<int> overview =
        sim.Get([&](ByteSink& s) { SendGetOverview(s, 1, t, 0, 1024); },
                [&](ByteSink& s) { SendOverviewHeader(s, 1, t, 0, 1024); }, 512);
    ASSERT_EQ(overview.size(), 512u);
    EXPECT_EQ(overview[511], std::string(reading) == "half" ? 511 * 8 : 1023 * 8) << reading;
    EXPECT_EQ(sim.Child().Finish(), 0);
  }
}

TEST(SimCliStdio, FaultOptionsReachTheSampler) {
  Sim sim({"--silent", "1", "--waits", "2", "--slow-down", "--force-status", "0x05=8"});
  sim.Send([](ByteSink& s) { SendProbe(s, 1); });  // lost
  sim.Send([](ByteSink& s) { SendProbe(s, 1); });
  EXPECT_EQ(sim.Answer(), kWait);
  EXPECT_EQ(sim.Answer(), kWait);
  EXPECT_EQ(sim.Answer(), kAck);
  sim.Send([](ByteSink& s) { SendGetWsParams(s, 1, Target{0, 0, 1}); });
  EXPECT_EQ(sim.Answer(), kNoWaveSample);
  const Target t{0, 0, 2};
  const Build put = [&](ByteSink& s) { SendPutWsData(s, 1, t, 0, 4); };
  EXPECT_EQ(sim.Put(put, {1, 2, 3, 4}), std::vector<int>{kSlowDown});
  EXPECT_EQ(sim.Put(put, {1, 2, 3, 4}), (std::vector<int>{kAck, kAck}));
  EXPECT_EQ(sim.Child().Finish(), 0);
}

// Paced, the answer is still on its way when the input ends; it is owed all the same.
TEST(SimCliStdio, EndOfInputStillAnswersWhatCameBefore) {
  Sim sim({"--paced"});
  sim.Send([](ByteSink& s) { SendProbe(s, 1); });
  sim.Child().CloseInput();
  EXPECT_EQ(sim.Answer(), kAck);
  EXPECT_EQ(sim.Child().Finish(), 0);
}

// At 31250 baud this block takes 1.4 s to arrive, longer than the time limit; what counts is
// that it begins in time, as the ACK of a GET has to.
TEST(SimCliStdio, PacedBlockLongerThanTheTimeLimitIsTaken) {
  Sim sim({"--paced", "--ack-timeout", "1000"});
  const std::vector<int> samples = Ramp(1500, 7, -5000);
  const Target t{0, 0, 2};
  EXPECT_EQ(sim.Put([&](ByteSink& s) { SendPutWsData(s, 1, t, 0, 1500); }, samples),
            (std::vector<int>{kAck, kAck}));
  EXPECT_EQ(sim.Child().Finish(), 0);
}

TEST(SimCliStdio, StateFileCarriesTheMemoryToTheNextRun) {
  const std::string file = TempPath("carried");
  std::filesystem::remove(file);
  const std::vector<int> samples = Ramp(700, -97, 1234);
  {
    Sim sim({"--empty", "--state", file});
    sim.Upload(6, samples);
    EXPECT_EQ(sim.Child().Finish(), 0) << sim.Child().Error();
  }
  ASSERT_TRUE(std::filesystem::exists(file));
  Sim again({"--empty", "--state", file});
  EXPECT_EQ(again.Download(Target{6, 0, 1}, 0, 700), samples);
  EXPECT_EQ(again.Child().Finish(), 0);
  std::filesystem::remove(file);
}

TEST(SimCliStdio, SignalEndsTheRunCleanlyAndSavesTheState) {
  for (int signal : {SIGTERM, SIGINT}) {
    const std::string file = TempPath("signalled");
    std::filesystem::remove(file);
    Sim sim({"--state", file});
    sim.Send([](ByteSink& s) { SendProbe(s, 1); });
    ASSERT_EQ(sim.Answer(), kAck);  // running, its handlers in place
    sim.Child().Signal(signal);
    EXPECT_EQ(sim.Child().Finish(), 0) << "signal " << signal;
    EXPECT_TRUE(std::filesystem::exists(file)) << "signal " << signal;
    Sim again({"--state", file});
    EXPECT_EQ(again.InstrumentStatuses(), kDemoInstruments);
    std::filesystem::remove(file);
  }
}

TEST(SimCliStdio, StateFileThatCannotBeReadIsReportedAndKept) {
  const std::string file = TempPath("damaged");
  const std::string damaged = "KVSIMMEM and then nothing that makes sense";
  std::ofstream(file, std::ios::binary) << damaged;
  Sim sim({"--state", file});
  sim.Send([](ByteSink& s) { SendProbe(s, 1); });
  EXPECT_EQ(sim.Child().Finish(), 1);
  EXPECT_TRUE(sim.Child().Output().empty());
  EXPECT_NE(sim.Child().Error().find("cannot read the state file"), std::string::npos)
      << sim.Child().Error();
  std::ifstream in(file, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), damaged);
  std::filesystem::remove(file);

  Sim nowhere({"--state", "/nonexistent-directory/state.kvsim"});
  EXPECT_EQ(nowhere.Child().Finish(), 1);
  EXPECT_NE(nowhere.Child().Error().find("cannot save the state file"), std::string::npos);
}

TEST(SimCliStdio, BadOptionsGetOneLineAndExitCode2) {
  const std::vector<std::vector<std::string>> bad = {
      {}, {"--stdio", "--channel", "17"}, {"--stdio", "--bogus"}};
  for (const std::vector<std::string>& arguments : bad) {
    ChildProcess child(KELVORA_SIM_PROGRAM, arguments);
    EXPECT_EQ(child.Finish(), 2) << testing::PrintToString(arguments);
    EXPECT_EQ(std::count(child.Error().begin(), child.Error().end(), '\n'), 1) << child.Error();
    EXPECT_TRUE(child.Output().empty());
  }
}

TEST(SimCliStdio, HelpListsTheOptions) {
  ChildProcess child(KELVORA_SIM_PROGRAM, {"--help"});
  EXPECT_EQ(child.Finish(), 0);
  const std::string help(child.Output().begin(), child.Output().end());
  for (const char* option :
       {"--stdio", "--alsa", "--name", "--model", "--channel", "--memory", "--paced", "--state",
        "--empty", "--overview", "--silent", "--waits", "--slow-down", "--force-status"}) {
    EXPECT_NE(help.find(std::string("  ") + option + " "), std::string::npos) << option;
  }
}

TEST(SimCliStdio, AlsaWithoutSequencerSaysSoInOneLine) {
  if (access("/dev/snd/seq", F_OK) == 0) GTEST_SKIP() << "this machine has an ALSA sequencer";
  ChildProcess child(KELVORA_SIM_PROGRAM, {"--alsa"});
  EXPECT_EQ(child.Finish(), 1);
  EXPECT_EQ(std::count(child.Error().begin(), child.Error().end(), '\n'), 1) << child.Error();
  EXPECT_NE(child.Error().find("no ALSA sequencer"), std::string::npos) << child.Error();
}

}  // namespace
}  // namespace kelvora::simcli::test
