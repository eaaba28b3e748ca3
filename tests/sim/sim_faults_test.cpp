#include <gtest/gtest.h>

#include "sim/SamplerStatus.h"
#include "sim_support.h"

namespace kelvora::sim::test {
namespace {

using namespace protocol;

class Faults : public ::testing::Test {
 protected:
  Faults() : h({}, true) {}
  void Probe() {
    h.Host([](ByteSink& s) { SendProbe(s, 1); });
  }
  void Apply(const FaultPlan& plan) { h.engine.SetFaults(plan); }

  EngineHarness h;
  const Bytes ack = {0xF0, 0x0F, 0x03, 0x00, 0x01, 0x00, 0x00, 0xF7};
};

TEST_F(Faults, SilenceLosesTheNextMessages) {
  FaultPlan plan;
  plan.silentMessages = 2;
  Apply(plan);
  Probe();
  h.Host([](ByteSink& s) { SendDeleteInstrument(s, 1, 0); });
  Probe();
  EXPECT_EQ(h.Statuses(), std::vector<int>{kAck});
  EXPECT_NE(h.memory.Instrument(0), nullptr);  // the lost delete had no effect
}

TEST_F(Faults, ADroppedOrChangedByteCountsFromThePlan) {
  Probe();
  h.Take();
  FaultPlan drop;
  drop.byteIndex = 9;  // the second byte of the second answer
  Apply(drop);
  Probe();
  Probe();
  std::vector<Bytes> sent = h.Take();
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[0], ack);
  EXPECT_EQ(sent[1], (Bytes{0xF0, 0x03, 0x00, 0x01, 0x00, 0x00, 0xF7}));

  FaultPlan plan;
  plan.byteIndex = 6;
  plan.dropByte = false;
  plan.replacementByte = 0x17;
  Apply(plan);
  Probe();
  Probe();
  sent = h.Take();
  EXPECT_EQ(StatusOf(sent.at(0)), kNak);  // the status byte became 23
  EXPECT_EQ(sent.at(1), ack);
}

TEST_F(Faults, AnswersOnTheWrongChannel) {
  FaultPlan plan;
  plan.wrongChannelMessages = 1;
  Apply(plan);
  Probe();
  Probe();
  std::vector<Bytes> sent = h.Take();
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(StatusOf(sent[0], 2), kAck);
  EXPECT_EQ(StatusOf(sent[1], 1), kAck);
}

TEST_F(Faults, WaitsBeforeTheAnswerOfTheNextCommand) {
  FaultPlan plan;
  plan.waitsBeforeAnswer = 3;
  Apply(plan);
  h.Host([](ByteSink& s) { SendGetWsParams(s, 1, Target{0, 0, 1}); });
  std::vector<Bytes> sent = h.Take();
  ASSERT_EQ(sent.size(), 5u);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(StatusOf(sent[i]), kWait);
  EXPECT_EQ(StatusOf(sent[3]), kAck);
  EXPECT_EQ(sent[4][4], kPutWsParams);
  Probe();
  EXPECT_EQ(h.Statuses(), std::vector<int>{kAck});
}

TEST_F(Faults, SlowDownOnceForEveryBlock) {
  FaultPlan plan;
  plan.slowDownEveryBlock = true;
  Apply(plan);
  auto put = [](int start, int end) {
    return [=](ByteSink& s) { SendPutWsData(s, 1, Target{1, 0, 1}, start, end); };
  };
  h.Host(put(0, 4));
  EXPECT_EQ(h.Statuses(), std::vector<int>{kSlowDown});
  EXPECT_EQ(h.Put(put(0, 4), {1, 2, 3, 4}), (std::vector<int>{kAck, kAck}));
  h.Host(put(4, 8));
  EXPECT_EQ(h.Statuses(), std::vector<int>{kSlowDown});
  EXPECT_EQ(h.Put(put(4, 8), {1, 2, 3, 4}), (std::vector<int>{kAck, kAck}));
}

TEST_F(Faults, AChosenCommandGetsAChosenStatus) {
  FaultPlan plan;
  plan.forcedStatus = {{kGetWsParams, kIsCopy}, {kDeleteInstrument, kAck}};
  Apply(plan);
  h.Host([](ByteSink& s) { SendGetWsParams(s, 1, Target{0, 0, 1}); });
  EXPECT_EQ(h.Statuses(), std::vector<int>{kIsCopy});  // and no header
  h.Host([](ByteSink& s) { SendDeleteInstrument(s, 1, 0); });
  EXPECT_EQ(h.Statuses(), std::vector<int>{kAck});
  EXPECT_NE(h.memory.Instrument(0), nullptr);  // answered, not done
  Probe();
  EXPECT_EQ(h.Statuses(), std::vector<int>{kAck});
}

TEST_F(Faults, AnOverlongDataBlockIsAnnouncedAndSentOnce) {
  FaultPlan plan;
  plan.overlongDataWords = 10300;
  Apply(plan);
  auto get = [](ByteSink& s) { SendGetWsData(s, 1, Target{1, 0, 1}, 8000, 8010); };
  h.Host(get);
  std::vector<Bytes> sent = h.Take();
  ASSERT_EQ(sent.size(), 2u);
  VectorSink header;
  SendWsDataHeader(header, 1, Target{1, 0, 1}, 8000, 18300);
  EXPECT_EQ(sent[1], header.bytes);
  h.HostAck();
  const std::vector<int> words = DataWords(h.Take().at(0));
  ASSERT_EQ(words.size(), 10300u);
  EXPECT_EQ(words[0], (*h.memory.Data(1, 1))[8000] & 0xFFFF);
  EXPECT_EQ(words[10299], 0);  // past the 8820 samples of the noise hit
  EXPECT_EQ(h.Get(get).size(), 10u);
}

TEST_F(Faults, AMessageStopsInTheMiddle) {
  FaultPlan plan;
  plan.cutMessageAfter = 20;
  Apply(plan);
  h.Host([](ByteSink& s) { SendGetWsParams(s, 1, Target{0, 0, 1}); });
  h.HostAck();
  std::vector<Bytes> sent = h.Take();
  ASSERT_EQ(sent.size(), 3u);
  EXPECT_EQ(sent[0].size(), 8u);  // ACK and header are shorter than 20 bytes
  EXPECT_EQ(sent[1].size(), 12u);
  EXPECT_EQ(sent[2].size(), 20u);  // the data message breaks off, no F7
  EXPECT_NE(sent[2].back(), 0xF7);
  EXPECT_EQ(h.Get([](ByteSink& s) { SendGetWsParams(s, 1, Target{0, 0, 1}); }).size(), 139u);
}

}  // namespace
}  // namespace kelvora::sim::test
