// Renaming and deleting, auditioning, single parameters and keys played on the sampler.
#include <gtest/gtest.h>

#include <QCoreApplication>

#include "protocol/NameCodec.h"
#include "protocol/Records.h"
#include "support/SessionFixture.h"

namespace kelvora::testing {
namespace {

using namespace protocol;

class InstrumentTest : public SessionFixture {
 protected:
  void SetUp() override {
    SessionFixture::SetUp();
    AddInstrument(2, "ORGAN");
    AddLayer(2, 0);
    AddLayer(2, 1);
    AddWaveSample(2, 1, 5, 600, 500);
    ASSERT_TRUE(Connect());
  }
  std::vector<uint8_t> Sent() {
    Settle();
    return TakeSent();
  }
  bool SamplerHas(int instrument, int waveSample) {
    Settle();
    return driver->Sampler().WithMemory([&](sim::SamplerMemory& memory) {
      return memory.WaveSample(instrument, waveSample) != nullptr;
    });
  }
};

TEST_F(InstrumentTest, RenameWritesTheRecordBackAndRestoresTheInstrument) {
  eps->Instrument = 6;
  EXPECT_TRUE(eps->RenameInstrument(2, "bass 1"));
  EXPECT_EQ(eps->Instrument, 6);
  const std::vector<uint8_t> wire = Sent();
  // The record is the last data message: F0 0F 03 ch, 323 W16 words, F7.
  const size_t size = DataMessageSize(kInstrParamWords);
  ASSERT_GE(wire.size(), size + 8);
  const uint8_t* record = wire.data() + wire.size() - size;
  const std::string expected = "BASS 1      ";
  for (int i = 0; i < 12; ++i) {
    EXPECT_EQ(DecodeW16(record + 4 + 3 * i), expected[static_cast<size_t>(i)] << 8) << i;
  }
  const std::string name = driver->Sampler().WithMemory(
      [](sim::SamplerMemory& memory) { return DecodeName(memory.Instrument(2)->record.data()); });
  EXPECT_EQ(name, "Bass 1");
  EXPECT_FALSE(eps->RenameInstrument(4, "NOBODY"));  // not loaded
}

TEST_F(InstrumentTest, DeleteWaveSampleNeedsAKnownLayer) {
  eps->DeleteWaveSample(2, 5);
  eps->DeleteWaveSample(9, 5);
  eps->DeleteWaveSample(2, 0);
  EXPECT_TRUE(Sent().empty());

  eps->ReadConfig();
  Sent();
  eps->DeleteWaveSample(2, 5);
  EXPECT_EQ(Sent(), Bytes([&](ByteSink& s) {
              SendDeleteWaveSample(s, Channel(), Target{2, 1, 5});
            }));
  EXPECT_FALSE(SamplerHas(2, 5));
}

TEST_F(InstrumentTest, DeletesReturnTheSamplersAnswer) {
  EXPECT_EQ(eps->DeleteLayer(2, 7), prNoLayer);
  EXPECT_EQ(eps->DeleteLayer(2, 1), prAck);
  EXPECT_FALSE(SamplerHas(2, 5));
  EXPECT_EQ(eps->DeleteInstrument(2), prAck);
  EXPECT_EQ(eps->DeleteInstrument(2), prNoInstrument);
}

TEST_F(InstrumentTest, AuditionSelectsTheInstrumentAndPlaysTheAuditionKey) {
  eps->Instrument = 2;
  eps->WsParams[kWsRootKey] = 90 << 8;
  eps->WsParams[kWsLowKey] = 21 << 8;
  eps->WsParams[kWsHighKey] = 72 << 8;
  eps->StartAudition();
  eps->StopAudition();
  Settle();
  sim::SamplerLog& log = driver->Sampler().Log();
  EXPECT_EQ(log.ProgramChanges(), (std::vector<int>{10, 2, 2}));
  const std::vector<sim::NoteEvent> notes = log.Notes();
  ASSERT_EQ(notes.size(), 2u);
  EXPECT_EQ(notes[0].key, 72);
  EXPECT_EQ(notes[0].velocity, 121);
  EXPECT_EQ(notes[1].key, 72);
  EXPECT_EQ(notes[1].velocity, 0);
}

TEST_F(InstrumentTest, PutParameterPausesAndReadsNoAnswer) {
  eps->Instrument = 2;
  eps->Layer = 1;
  eps->WaveSample = 5;
  const uint32_t start = midi::TickCount();
  eps->PutParameter(2059, 60);
  EXPECT_GE(midi::TickCount() - start, 1u);
  EXPECT_EQ(Sent(), Bytes([&](ByteSink& s) {
              SendPutParameter(s, Channel(), Target{2, 1, 5}, 2059, 60);
            }));
  EXPECT_EQ(eps->MidiIn->BytesAvailable(), 0u);
  const uint32_t before = midi::TickCount();
  eps->WaitOneSecond();
  EXPECT_EQ(midi::TickCount() - before, 1000u);
}

TEST_F(InstrumentTest, KeysPlayedReachTheUploadDialogOnlyWhileItIsActive) {
  int argc = 1;
  char name[] = "session_test";
  char* argv[] = {name, nullptr};
  QCoreApplication app(argc, argv);
  auto play = [&](uint32_t packed) {
    driver->SendShortToProgram(packed);
    driver->WaitIdle();
    QCoreApplication::processEvents();
  };
  play(0x90 | (60 << 8) | (100 << 16));  // dialog not active
  ui.uploadDialogActive = true;
  play(0x93 | (62 << 8) | (100 << 16));  // any channel
  play(0x90 | (64 << 8));                // velocity 0: a note off
  play(0x80 | (65 << 8) | (64 << 16));   // note off
  play(0xC0 | (3 << 8));                 // program change
  EXPECT_EQ(ui.keysPlayed, std::vector<int>{62});
  EXPECT_EQ(eps->MidiIn->ShortsAvailable(), 0);
}

}  // namespace
}  // namespace kelvora::testing
