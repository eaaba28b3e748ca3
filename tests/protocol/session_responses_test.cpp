// ProcessInput against the simulated sampler: every kind of answer, the acknowledges it sends,
// the two boxes, the download paths and its debug lines.
#include <gtest/gtest.h>

#include "sim/FaultPlan.h"
#include "support/SessionFixture.h"

namespace kelvora::testing {
namespace {

using namespace protocol;

class ResponseTest : public SessionFixture {
 protected:
  void SetUp() override {
    SessionFixture::SetUp();
    AddInstrument(0, "PIANO");
    AddLayer(0, 0);
    AddWaveSample(0, 0, 1, 1001, 1000);
    ASSERT_TRUE(Connect());
  }

  void Faults(const sim::FaultPlan& plan) { driver->Sampler().SetFaults(plan); }
  std::vector<uint8_t> Ack() const {
    return Bytes([&](ByteSink& s) { SendAcknowledge(s, Channel()); });
  }
  std::vector<uint8_t> Probe() const {
    return Bytes([&](ByteSink& s) { SendProbe(s, Channel()); });
  }
};

TEST_F(ResponseTest, WaitThenAckIsOneAck) {
  sim::FaultPlan plan;
  plan.waitsBeforeAnswer = 2;
  Faults(plan);
  SendFromProgram(Probe());
  EXPECT_EQ(eps->ProcessInput(), prAck);
  EXPECT_EQ(eps->MidiIn->BytesAvailable(), 0u);
}

TEST_F(ResponseTest, SilenceIsNothingAndWaitThenSilenceIsNothingAfterWait) {
  const uint32_t start = midi::TickCount();
  EXPECT_EQ(eps->ProcessInput(), prNothing);
  EXPECT_GE(midi::TickCount() - start, 10000u);

  sim::FaultPlan plan;
  plan.forcedStatus[kProbe] = 1;  // the sampler answers WAIT and then nothing
  Faults(plan);
  SendFromProgram(Probe());
  EXPECT_EQ(eps->ProcessInput(), prNothingAfterWait);
  Settle();
  EXPECT_EQ(TakeSent(), Probe());  // a WAIT is not acknowledged
}

TEST_F(ResponseTest, EachResponseCodeHasItsResult) {
  const std::pair<int, int> cases[] = {
      {0, prAck},       {5, prNoInstrument}, {6, prNoLayer},         {10, prError},
      {20, prSlowDown}, {23, prResponse23},  {12, prUnknownResponse}};
  for (const auto& [code, result] : cases) {
    SendToProgram(Response(code));
    EXPECT_EQ(eps->ProcessInput(), result) << "code " << code;
  }
  EXPECT_EQ(ui.invalidWaveSampleBoxes + ui.waveSampleIsCopyBoxes, 0);
  SendToProgram(Response(17));  // the wavesample is a copy
  EXPECT_EQ(eps->ProcessInput(), prError);
  EXPECT_EQ(ui.waveSampleIsCopyBoxes, 1);
}

// A response cut short at any byte fails alone: the message after it is still read whole.
TEST_F(ResponseTest, ResponseCutShortLeavesTheNextMessageWhole) {
  const std::vector<uint8_t> ack = Response(0);
  for (size_t kept = 5; kept < ack.size(); ++kept) {
    std::vector<uint8_t> bytes(ack.begin(), ack.begin() + static_cast<long>(kept));
    bytes.insert(bytes.end(), ack.begin(), ack.end());
    SendToProgram(bytes);
    EXPECT_EQ(eps->ProcessInput(), prError) << kept << " bytes kept";
    EXPECT_EQ(eps->ProcessInput(), prAck) << kept << " bytes kept";
    EXPECT_EQ(eps->MidiIn->BytesAvailable(), 0u);
  }
  const std::vector<uint8_t> wrongZero = {0xF0, 0x0F, 0x03, 0x00, 0x01, 0x05, 0x00, 0xF7};
  SendToProgram(wrongZero);
  EXPECT_EQ(eps->ProcessInput(), prError);
  EXPECT_EQ(eps->MidiIn->BytesAvailable(), 3u);  // the byte that differs and the rest stay
}

TEST_F(ResponseTest, InvalidWaveSampleBoxOnlyOutsideAnUpload) {
  eps->WaveSample = 9;  // not in the sampler: it answers code 8
  SendFromProgram(Bytes([&](ByteSink& s) { SendGetWsParams(s, Channel(), eps->CurrentTarget()); }));
  EXPECT_EQ(eps->ProcessInput(), prInvalidWs);
  EXPECT_EQ(ui.invalidWaveSampleBoxes, 1);

  eps->UploadState = usCheckHeaderAck;
  SendFromProgram(Bytes([&](ByteSink& s) { SendGetWsParams(s, Channel(), eps->CurrentTarget()); }));
  EXPECT_EQ(eps->ProcessInput(), prInvalidWs);
  EXPECT_EQ(ui.invalidWaveSampleBoxes, 1);
}

TEST_F(ResponseTest, HeaderForAnotherInstrumentIsRefusedWithoutAcknowledge) {
  AddInstrument(3, "OTHER");
  eps->Instrument = 2;
  const auto request = Bytes([&](ByteSink& s) { SendGetInstrumentParams(s, Channel(), 3); });
  SendFromProgram(request);
  EXPECT_EQ(eps->ProcessInput(), prAck);
  EXPECT_EQ(eps->ProcessInput(), prError);
  Settle();
  EXPECT_EQ(TakeSent(), request);
}

TEST_F(ResponseTest, DataHeaderOutsideADownloadFillsTheOverviewSignExtended) {
  eps->SendGetWsData(100, 612);
  EXPECT_EQ(eps->ProcessInput(), prAck);
  EXPECT_EQ(eps->ProcessInput(), prData);
  const std::vector<int16_t> data = SamplerData(0, 1);
  for (int k = 0; k < kOverviewPoints; ++k) ASSERT_EQ(eps->Overview[k], data[100 + k]) << k;
  EXPECT_LT(eps->Overview[0], 0);
  EXPECT_EQ(eps->MidiIn->BytesAvailable(), 0u);
}

TEST_F(ResponseTest, DownloadBlockKeepsSixteenBitsAndIsAcknowledged) {
  eps->SendGetWsData(0, 300);
  EXPECT_EQ(eps->ProcessInput(), prAck);
  eps->DownloadState = dsReadHeader;
  EXPECT_EQ(eps->ProcessInput(), prDataHeader);
  EXPECT_EQ(eps->DataStart, 0);
  EXPECT_EQ(eps->DataEnd, 300);
  eps->DownloadState = dsReadData;
  ASSERT_TRUE(eps->MidiIn->WaitForBytes(DataMessageSize(300), 5000));
  EXPECT_EQ(eps->ProcessInput(), prData);
  const std::vector<int16_t> data = SamplerData(0, 1);
  for (int k = 0; k < 300; ++k) ASSERT_EQ(eps->SampleBuffer[k], data[k] & 0xFFFF) << k;
  Settle();
  const std::vector<uint8_t> sent = TakeSent();
  const std::vector<uint8_t> ack = Ack();
  ASSERT_EQ(sent.size(), 20u + ack.size());
  EXPECT_TRUE(std::equal(ack.begin(), ack.end(), sent.begin() + 20));
}

// Mended: the block's length comes from the sampler and must fit SampleBuffer.
TEST_F(ResponseTest, OverlongDownloadHeaderIsRefusedUnacknowledged) {
  sim::FaultPlan plan;
  plan.overlongDataWords = 20000;
  Faults(plan);
  eps->SendGetWsData(0, 256);
  EXPECT_EQ(eps->ProcessInput(), prAck);
  eps->DownloadState = dsReadHeader;
  EXPECT_EQ(eps->ProcessInput(), prError);
  Settle();
  EXPECT_EQ(TakeSent().size(), 20u);  // the request alone, no acknowledge
}

TEST_F(ResponseTest, DownloadDataOutsideTheBufferIsRefusedUntouched) {
  eps->DownloadState = dsReadData;
  for (const auto& [start, end] : {std::pair{500, 100}, std::pair{0, kSampleBufferWords + 1}}) {
    eps->MidiIn->Flush();
    eps->SampleBuffer[0] = -7;
    eps->DataStart = start;
    eps->DataEnd = end;
    const std::vector<int> words(static_cast<size_t>(std::max(end - start, 1)), 0x1234);
    SendToProgram(
        Bytes([&](ByteSink& s) { SendDataMessage(s, Channel(), words.data(), words.size()); }));
    EXPECT_EQ(eps->ProcessInput(), prError);
    EXPECT_EQ(eps->SampleBuffer[0], -7);
    EXPECT_EQ(eps->DataStart, start);
    EXPECT_EQ(eps->DataEnd, end);
  }
}

TEST_F(ResponseTest, DebugLinesTraceTheExchange) {
  DebugLogCapture log;
  SendToProgram(Response(1));
  SendToProgram(Response(0));
  EXPECT_EQ(eps->ProcessInput(), prAck);
  EXPECT_EQ(eps->ProcessInput(), prNothing);
  eps->DownloadState = dsReadData;
  eps->DataStart = 0;
  eps->DataEnd = 2;
  SendToProgram({0xF0, 0x0F, 0x03, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x02, 0x05});
  EXPECT_EQ(eps->ProcessInput(), prError);
  const std::string text = log.Text();
  EXPECT_NE(text.find("Proc.Inp (p) Response : 1\r\n(p) Response : 0\r\n"), std::string::npos);
  EXPECT_NE(text.find("Proc.Inp (nothing...\r\n"), std::string::npos);
  EXPECT_NE(text.find("(p) Reading download data.. 7\r\n0\r\n2\r\n2\r\nNo EOX :5\r\n"),
            std::string::npos)
      << text;
}

// A record that breaks off keeps the words read so far and says where it stopped.
TEST_F(ResponseTest, TruncatedRecordTellsWhereItStopped) {
  DebugLogCapture log;
  std::vector<uint8_t> bytes =
      Bytes([&](ByteSink& s) { SendWsParamsHeader(s, Channel(), eps->CurrentTarget()); });
  const std::vector<int> words(50, 0x4100);
  auto data =
      Bytes([&](ByteSink& s) { SendDataMessage(s, Channel(), words.data(), words.size()); });
  data.pop_back();  // no F7: the message breaks off after 50 of 139 words
  bytes.insert(bytes.end(), data.begin(), data.end());
  SendToProgram(bytes);
  EXPECT_EQ(eps->ProcessInput(), prError);
  EXPECT_EQ(eps->WsParams[49], 0x4100);
  EXPECT_NE(log.Text().find("WaveSample Pars -> Ack -> Stopped at : 50\r\n"), std::string::npos);
}

}  // namespace
}  // namespace kelvora::testing
