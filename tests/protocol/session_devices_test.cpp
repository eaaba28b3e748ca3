// Finding the sampler (OpenDevices with its failures and Retry) and reading its configuration.
#include <gtest/gtest.h>

#include "midi/DoreRav.h"
#include "sim/FaultPlan.h"
#include "support/SessionFixture.h"

namespace kelvora::testing {
namespace {

using namespace protocol;

class DevicesTest : public SessionFixture {
 protected:
  void Faults(const sim::FaultPlan& plan) { driver->Sampler().SetFaults(plan); }
  std::vector<uint8_t> Probe() const {
    return Bytes([&](ByteSink& s) { SendProbe(s, Channel()); });
  }
};

TEST_F(DevicesTest, AnyAnswerToTheProbeFindsTheSampler) {
  sim::FaultPlan plan;
  plan.forcedStatus[kProbe] = 10;
  Faults(plan);
  EXPECT_TRUE(eps->OpenDevices());
  EXPECT_TRUE(ui.noEpsReasons.empty());
  Settle();
  EXPECT_EQ(TakeSent(), Probe());
}

TEST_F(DevicesTest, EachRetrySendsAnotherProbe) {
  sim::FaultPlan plan;
  plan.silentMessages = 100;
  Faults(plan);
  ui.noEpsAnswers = {mrRetry, mrRetry, mrRetry, mrOk};
  EXPECT_FALSE(eps->OpenDevices());
  EXPECT_EQ(ui.noEpsReasons, std::vector<TNoEpsReason>(4, nrNoAnswer));
  const std::vector<uint8_t> probe = Probe();
  std::vector<uint8_t> fourProbes;
  for (int i = 0; i < 4; ++i) fourProbes.insert(fourProbes.end(), probe.begin(), probe.end());
  EXPECT_EQ(TakeSent(), fourProbes);
  EXPECT_EQ(ui.beginWaits, 4);
  EXPECT_EQ(ui.endWaits, 4);
}

TEST_F(DevicesTest, WaitThenSilenceMeansNoSystem) {
  sim::FaultPlan plan;
  plan.forcedStatus[kProbe] = 1;
  Faults(plan);
  EXPECT_FALSE(eps->OpenDevices());
  EXPECT_EQ(ui.noEpsReasons, std::vector<TNoEpsReason>{nrNoSystem});
}

TEST_F(DevicesTest, PortsThatDoNotOpenAreReportedWithoutRetry) {
  DebugLogCapture log;
  ui.noEpsAnswers = {mrRetry, mrRetry};
  eps->MidiIn->SetDeviceID(-1);
  EXPECT_FALSE(eps->OpenDevices());
  eps->MidiIn->SetDeviceID(0);
  eps->MidiOut->SetDeviceID(7);
  EXPECT_FALSE(eps->OpenDevices());
  EXPECT_EQ(ui.noEpsReasons, (std::vector<TNoEpsReason>{nrMidiInFailed, nrMidiOutFailed}));
  EXPECT_TRUE(TakeSent().empty());
  const std::string text = log.Text();
  EXPECT_NE(text.find("Unable to open MidiIn\r\nDevice ID = -1\r\nErrorCode = 2\r\n"),
            std::string::npos);
  EXPECT_NE(text.find("Unable to open MidiOut\r\nDevice ID = 7\r\n"), std::string::npos);
}

// A cable whose output never reports a message sent: the port gives up after 20 s and raises.
class StuckOutputDriver : public midi::MidiDriver {
 public:
  int InputCount() override { return 1; }
  std::string InputName(int) override { return "Stuck"; }
  int OutputCount() override { return 1; }
  std::string OutputName(int) override { return "Stuck"; }
  int OpenOutput(int, int slot) override {
    midi::DoreRav::MidiOutHandler(slot, midi::OutEvent::Opened);
    return 0;
  }
  void CloseOutput(int slot) override {
    midi::DoreRav::MidiOutHandler(slot, midi::OutEvent::Closed);
  }
  void SendLong(int, const uint8_t*, size_t) override {}
  int SendShort(int, uint32_t) override { return 0; }
  int OpenInput(int, int slot) override {
    midi::DoreRav::MidiInHandler(slot, midi::InEvent::Opened);
    return 0;
  }
  void StartInput(int) override {}
  void StopInput(int) override {}
  void ResetInput(int) override {}
  void CloseInput(int slot) override { midi::DoreRav::MidiInHandler(slot, midi::InEvent::Closed); }
};

TEST_F(DevicesTest, PortFailureRaisedMidwayStillEndsTheWait) {
  StuckOutputDriver stuck;
  ScopedDriver useStuck(stuck);
  EXPECT_THROW(eps->OpenDevices(), midi::PortError);
  EXPECT_EQ(ui.beginWaits, 1);
  EXPECT_EQ(ui.endWaits, 1);
  eps.reset();  // closes the ports while their driver still exists
}

// Instrument 0 is loaded but its request is lost; 2 has one layer (layer 1); 5 has wavesample 1
// on layer 0 and 4 on layer 2; the others are not loaded.
class ReadConfigTest : public DevicesTest {
 protected:
  void SetUp() override {
    DevicesTest::SetUp();
    AddInstrument(0, "LOST");
    AddLayer(0, 0);
    AddInstrument(2, "STRINGS");
    AddLayer(2, 1);
    AddWaveSample(2, 1, 1, 600, 500);
    AddWaveSample(2, 1, 3, 600, 500);
    AddInstrument(5, "2ND-VIOLIN");
    AddLayer(5, 0);
    AddLayer(5, 2);
    AddWaveSample(5, 0, 1, 600, 500);
    AddWaveSample(5, 2, 4, 600, 500);
    ASSERT_TRUE(Connect());
    sim::FaultPlan plan;
    plan.silentMessages = 1;
    Faults(plan);
  }
};

TEST_F(ReadConfigTest, DerivesTheTablesAndRestoresTheTarget) {
  eps->Instrument = 3;
  eps->Layer = 4;
  EXPECT_TRUE(eps->ReadConfig());
  EXPECT_EQ(eps->Instrument, 3);
  EXPECT_EQ(eps->Layer, 4);
  const bool inUse[8] = {false, false, true, false, false, true, false, false};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(eps->InstrInUse[i], inUse[i]) << i;
  EXPECT_EQ(eps->InstrName[2], "Strings");
  EXPECT_EQ(eps->InstrName[5], "2Nd-Violin");
  EXPECT_EQ(eps->FirstFreeWs[0], 0);
  EXPECT_EQ(eps->FirstFreeLayer[0], 0);

  EXPECT_TRUE(eps->LayerInUse[2][1]);
  EXPECT_TRUE(eps->WsInUse[2][2]);
  EXPECT_FALSE(eps->WsInUse[2][1]);
  EXPECT_EQ(eps->FirstFreeWs[2], 1);
  EXPECT_EQ(eps->FirstFreeLayer[2], 0);
  EXPECT_EQ(eps->WsLayer[2][0], 1);
  EXPECT_EQ(eps->WsLayer[2][100], 1);  // a single layer holds every wavesample

  EXPECT_EQ(eps->WsLayer[5][0], 0);
  EXPECT_EQ(eps->WsLayer[5][3], 2);
  EXPECT_EQ(eps->WsLayer[5][1], -1);  // named by no layer
  EXPECT_EQ(eps->FirstFreeLayer[5], 1);
}

TEST_F(ReadConfigTest, AsksEachInstrumentAndTheLayersOfMultiLayerOnes) {
  DebugLogCapture log;
  eps->ReadConfig();
  Settle();
  std::vector<uint8_t> expected;
  auto add = [&](const std::vector<uint8_t>& bytes) {
    expected.insert(expected.end(), bytes.begin(), bytes.end());
  };
  const auto ack = Response(0);
  for (int i = 0; i < 6; ++i) {
    add(Bytes([&](ByteSink& s) { SendGetInstrumentParams(s, Channel(), i); }));
    if (i == 2 || i == 5) add(ack);
  }
  for (int layer : {0, 2}) {
    add(Bytes([&](ByteSink& s) { SendGetLayerParams(s, Channel(), 5, layer); }));
    add(ack);
  }
  for (int i = 6; i < 8; ++i) {
    add(Bytes([&](ByteSink& s) { SendGetInstrumentParams(s, Channel(), i); }));
  }
  EXPECT_EQ(TakeSent(), expected);
  const std::string text = log.Text();
  EXPECT_NE(text.find("## READ CFG ##  Queue=0\r\n"), std::string::npos);
  EXPECT_NE(text.find("[Strings]\r\nLayer in use :1\r\n"), std::string::npos);
  EXPECT_NE(text.find("Layer in use :2\r\nRequesting Layer Data\r\n"), std::string::npos);
}

}  // namespace
}  // namespace kelvora::testing
