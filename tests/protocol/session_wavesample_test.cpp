// Opening a wavesample for editing (silence extension, copy refusal), the view window and its
// overview cache, the editing commands and closing.
#include <gtest/gtest.h>

#include <cstdlib>

#include "support/SessionFixture.h"

namespace kelvora::testing {
namespace {

using namespace protocol;

// Wavesample 1 ends at 1000; 2 is a parameters-only copy of it; 3 ends at 0.
class WaveSampleTest : public SessionFixture {
 protected:
  void SetUp() override {
    SessionFixture::SetUp();
    AddInstrument(0, "PIANO");
    AddLayer(0, 0);
    AddWaveSample(0, 0, 1, 1001, 1000);
    AddWaveSample(0, 0, 3, 1, 0);
    sim::WsRecord record{};
    ResetWsParams(record.data());
    driver->Sampler().WithMemory(
        [&](sim::SamplerMemory& memory) { return memory.AddParameterCopy(0, 0, 2, 1, record); });
    original_ = SamplerData(0, 1);
    ASSERT_TRUE(Connect());
  }

  Target Self() const { return eps->CurrentTarget(); }
  template <class Build>
  void Expect(std::vector<uint8_t>& wire, Build build) {
    const auto bytes = Bytes(build);
    wire.insert(wire.end(), bytes.begin(), bytes.end());
  }
  void ExpectAck(std::vector<uint8_t>& wire) {
    Expect(wire, [&](ByteSink& s) { SendAcknowledge(s, Channel()); });
  }
  std::vector<uint8_t> Sent() {
    Settle();
    return TakeSent();
  }

  std::vector<int16_t> original_;
};

TEST_F(WaveSampleTest, OpenForEditExtendsWithSilenceThenFetchesTheWholeOverview) {
  EXPECT_EQ(eps->OpenWs(true), 1);
  std::vector<uint8_t> wire;
  Expect(wire, [&](ByteSink& s) { SendGetWsParams(s, Channel(), Self()); });
  ExpectAck(wire);
  Expect(wire, [&](ByteSink& s) { SendCopyData(s, Channel(), Self(), Self(), 0, 1000, 1000); });
  Expect(wire, [&](ByteSink& s) { SendCopyData(s, Channel(), Self(), Self(), 0, 48, 2000); });
  Expect(wire, [&](ByteSink& s) { SendClearData(s, Channel(), Self(), 1001, 2049); });
  Expect(wire, [&](ByteSink& s) { SendGetOverview(s, Channel(), Self(), 0, 2048); });
  ExpectAck(wire);
  EXPECT_EQ(Sent(), wire);

  EXPECT_TRUE(eps->WsOpen);
  EXPECT_EQ(eps->WsLast, 1000);
  EXPECT_EQ(eps->ViewStart, 0);
  EXPECT_EQ(eps->ViewEnd, 1001);
  EXPECT_EQ(eps->ViewStep, 2);
  EXPECT_FALSE(eps->Zoomed);
  EXPECT_FALSE(eps->OverviewStale);
  const std::vector<int16_t> data = SamplerData(0, 1);
  ASSERT_EQ(data.size(), 2049u);
  EXPECT_TRUE(std::equal(original_.begin(), original_.begin() + 1000, data.begin()));
  EXPECT_TRUE(std::all_of(data.begin() + 1001, data.end(), [](int16_t v) { return v == 0; }));
  // Sections of two samples, each its largest absolute value.
  EXPECT_EQ(eps->Overview[10], std::max(std::abs(data[20]), std::abs(data[21])));
  EXPECT_EQ(eps->Overview[511], 0);
  EXPECT_GE(ui.refreshViews, 1);
  EXPECT_EQ(ui.beginWaits, ui.endWaits);
}

TEST_F(WaveSampleTest, ParametersOnlyCopyIsReportedAndNotExtended) {
  eps->WaveSample = 2;
  EXPECT_EQ(eps->OpenWs(true), 2);
  EXPECT_EQ((eps->WsParams[kWsCopySource] >> 8) & 0xFF, 1);
  EXPECT_FALSE(eps->WsOpen);
  std::vector<uint8_t> wire;
  Expect(wire, [&](ByteSink& s) { SendGetWsParams(s, Channel(), Self()); });
  ExpectAck(wire);
  EXPECT_EQ(Sent(), wire);
  EXPECT_EQ(SamplerData(0, 1), original_);
}

// Mended: copying an empty range never lengthened the data, so opening never ended.
TEST_F(WaveSampleTest, WaveSampleEndingAtZeroFailsToOpen) {
  DebugLogCapture log;
  eps->WaveSample = 3;
  EXPECT_EQ(eps->OpenWs(true), 0);
  EXPECT_FALSE(eps->WsOpen);
  EXPECT_EQ(Sent().size(), 12u + 8u);  // the request and the acknowledge of its header
  EXPECT_NE(log.Text().find("Sample end is 0"), std::string::npos);
}

TEST_F(WaveSampleTest, ShowAllUsesTheCacheUntilAnEditMakesItStale) {
  ASSERT_EQ(eps->OpenWs(true), 1);
  Sent();
  EXPECT_TRUE(eps->RefreshOverview());
  EXPECT_TRUE(Sent().empty());

  eps->ReverseData(0, 500);
  EXPECT_TRUE(eps->OverviewStale);
  EXPECT_EQ(eps->WaitResult(), prAck);
  EXPECT_TRUE(eps->RefreshOverview());
  std::vector<uint8_t> wire;
  Expect(wire, [&](ByteSink& s) { SendReverseData(s, Channel(), Self(), 0, 500); });
  Expect(wire, [&](ByteSink& s) { SendGetOverview(s, Channel(), Self(), 0, 2048); });
  ExpectAck(wire);
  EXPECT_EQ(Sent(), wire);
  EXPECT_EQ(eps->Overview[0], std::max(std::abs(original_[499]), std::abs(original_[498])));
}

TEST_F(WaveSampleTest, ZoomOfThreeHundredSamplesAsksForExactly512) {
  ASSERT_EQ(eps->OpenWs(true), 1);
  Sent();
  eps->ViewStart = 100;
  eps->ViewEnd = 400;
  EXPECT_TRUE(eps->RefreshOverview());
  EXPECT_EQ(eps->ViewStep, 1);
  EXPECT_TRUE(eps->Zoomed);
  std::vector<uint8_t> wire;
  Expect(wire, [&](ByteSink& s) { SendGetWsData(s, Channel(), Self(), 100, 612); });
  ExpectAck(wire);
  EXPECT_EQ(Sent(), wire);
  EXPECT_EQ(eps->Overview[0], original_[100]);
  EXPECT_EQ(eps->Overview[511], original_[611]);
}

// A short read for the loop tools: one GetWsData for exactly the range, the samples signed,
// and the view's points untouched.
TEST_F(WaveSampleTest, ReadWsDataBringsExactlyTheRangeAskedFor) {
  ASSERT_EQ(eps->OpenWs(true), 1);
  std::vector<int> overview(std::begin(eps->Overview), std::end(eps->Overview));
  TakeSent();
  int words[64] = {};
  ASSERT_TRUE(eps->ReadWsData(900, 964, words));
  EXPECT_EQ(Sent(), Bytes([&](ByteSink& s) {
              SendGetWsData(s, Channel(), Self(), 900, 964);
              SendAcknowledge(s, Channel());
            }));
  for (int i = 0; i < 64; ++i) ASSERT_EQ(words[i], original_[900 + i]) << i;
  EXPECT_EQ(std::vector<int>(std::begin(eps->Overview), std::end(eps->Overview)), overview);

  // A range the sampler refuses, or none at all, fails; the view still reads its 512 points.
  EXPECT_FALSE(eps->ReadWsData(900, 900, words));
  EXPECT_FALSE(eps->ReadWsData(0, kSampleBufferWords + 1, words));
  EXPECT_FALSE(eps->ReadWsData(4000, 4064, words));
  eps->SetViewEnd(700);
  eps->SetViewStart(300);
  EXPECT_TRUE(eps->RefreshOverview());
  EXPECT_EQ(eps->ViewStep, 1);
  EXPECT_EQ(eps->Overview[0], original_[300]);
}

TEST_F(WaveSampleTest, ViewWindowStaysInsideTheData) {
  eps->WsLast = 300;
  eps->SetViewStart(-5);
  EXPECT_EQ(eps->ViewStart, 0);
  eps->SetViewEnd(100);
  EXPECT_EQ(eps->ViewEnd, 512);
  eps->WsLast = 100000;
  eps->SetViewStart(99900);
  EXPECT_EQ(eps->ViewStart, 100000 - 511);
  eps->ViewStart = 1000;
  eps->ViewEnd = 2025;  // 1025 samples: three per point
  eps->ComputeViewStep();
  EXPECT_EQ(eps->ViewStep, 3);
  EXPECT_EQ(eps->ViewEnd - eps->ViewStart, 1536);
  eps->ViewStart = 900;
  eps->ViewEnd = 100;
  eps->ComputeViewStep();
  EXPECT_GE(eps->ViewStep, 1);
}

TEST_F(WaveSampleTest, EditsReachTheSamplerAndMakeTheOverviewStale) {
  ASSERT_EQ(eps->OpenWs(true), 1);
  Sent();
  std::vector<uint8_t> wire;
  eps->FadeIn(0, 100, 3);
  Expect(wire, [&](ByteSink& s) { SendFadeIn(s, Channel(), Self(), 0, 100, 3); });
  eps->ScaleData(200, 300, 0x100, 0x80, 2);
  Expect(wire, [&](ByteSink& s) { SendScaleData(s, Channel(), Self(), 200, 300, 0x100, 0x80, 2); });
  EXPECT_EQ(Sent(), wire);
  EXPECT_TRUE(eps->OverviewStale);
  eps->OverviewStale = false;
  eps->CopyData(0, 10, 500);
  EXPECT_FALSE(eps->OverviewStale);
}

TEST_F(WaveSampleTest, CloseWritesTheParametersBackAndEndsTheEdit) {
  ASSERT_EQ(eps->OpenWs(true), 1);
  Sent();
  SetPosition(eps->WsParams, kWsSampleStart, 10);
  eps->CloseWs();
  EXPECT_FALSE(eps->WsOpen);
  EXPECT_TRUE(eps->OverviewStale);
  std::vector<uint8_t> wire;
  Expect(wire, [&](ByteSink& s) { SendPutWsParams(s, Channel(), Self()); });
  Expect(wire, [&](ByteSink& s) { SendDataMessage(s, Channel(), eps->WsParams, kWsParamWords); });
  Expect(wire, [&](ByteSink& s) { SendEndEdit(s, Channel(), Self()); });
  EXPECT_EQ(Sent(), wire);
  eps->CloseWs();
  EXPECT_TRUE(Sent().empty());
}

TEST_F(WaveSampleTest, RefusedParametersAreAFailedWrite) {
  eps->WaveSample = 9;
  EXPECT_EQ(eps->WriteWsParams(), 2);
  eps->WaveSample = 1;
  EXPECT_EQ(eps->WriteWsParams(), 1);
}

}  // namespace
}  // namespace kelvora::testing
