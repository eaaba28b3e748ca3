// Values no sane sampler, preferences file or command line would give: each ends in a clean
// refusal, a clear failure or a clamp, never a crash, a hang or a wavesample that is quietly
// other than the file.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "protocol/NameCodec.h"
#include "protocol/Records.h"
#include "transfer/RiffFile.h"
#include "transfer/transfer_support.h"
#include "transfer/wav_support.h"

namespace kelvora::transfer::test {
namespace {

using namespace protocol;

constexpr int kNewInstrument = 4;

class Hostile : public TransferFixture {
 protected:
  UploadChoices NewInstrument() const {
    UploadChoices choices;
    choices.instrument = kNewInstrument;
    return choices;
  }

  // The demo wavesample (0, 0, 1) with other sample start and end positions.
  void SetRange(int start, int end) {
    Sampler().WithMemory([&](sim::SamplerMemory& memory) {
      int record[kWsRecordWords];
      std::copy_n(memory.WaveSample(0, 1)->record.begin(), kWsRecordWords, record);
      SetPosition(record, kWsSampleStart, start);
      SetPosition(record, kWsSampleEnd, end);
      memory.PutWsRecord(0, 1, record);
      return 0;
    });
  }

  TempFolder temp_;
};

TEST_F(Hostile, PreferenceValuesAreKeptWithinWhatTheTransfersCanUse) {
  for (int blockSize : {0, -5, 1000000000}) {
    eps->BlockSize = blockSize;
    RecordingProgress progress;
    ASSERT_TRUE(Download(temp_ / "block.wav", progress).Succeeded()) << blockSize;
    for (const auto& [start, end] : RangesSent(Sampler(), kGetWsData)) {
      EXPECT_GE(end - start, 1);
      EXPECT_LE(end - start, kSampleBufferWords) << blockSize;
    }
  }
  eps->BlockSize = 256;
  for (int delay : {-100, 1000000000}) {
    eps->Delay = delay;
    WriteMono16(temp_ / "delay.wav", TestSignal(600));  // three blocks
    RecordingProgress progress;
    const uint32_t before = clock.Now();
    EXPECT_TRUE(Upload(temp_ / "delay.wav", NewInstrument(), progress).Succeeded()) << delay;
    EXPECT_LT(clock.Now() - before, 3u * 4000u + 5000u) << "a block waited past 4 s";
  }
  for (const auto& [channel, used] : {std::pair{300, 16}, {0, 1}, {-3, 1}}) {
    eps->MidiOut->SetChannel(channel);
    EXPECT_EQ(eps->Channel(), used);
  }
}

TEST_F(Hostile, DevicesThatDoNotExistAreReportedNotOpened) {
  eps.reset();  // the ports of the fixture's session are open
  for (int device : {5000, -7}) {
    ui.noEpsReasons.clear();
    eps = std::make_unique<TEps>(ui);
    eps->MidiIn->SetDeviceID(device);
    eps->MidiOut->SetDeviceID(0);
    EXPECT_FALSE(eps->OpenDevices()) << device;
    EXPECT_EQ(ui.noEpsReasons, std::vector<TNoEpsReason>{nrMidiInFailed});
    eps.reset();
  }
}

TEST_F(Hostile, PositionsFromTheSamplerThatCannotBeDownloaded) {
  // Past the data the sampler holds, and as far as a record can point.
  for (const auto& [start, end] : {std::pair{8388000, 8388607}, {0, 8388607}, {5, 4}}) {
    SetRange(start, end);
    RecordingProgress progress;
    const std::string path = temp_ / "far.wav";
    std::filesystem::remove(path);
    const TransferResult result = Download(path, progress);
    EXPECT_FALSE(result.Succeeded()) << start << ".." << end;
    if (std::filesystem::exists(path)) {
      EXPECT_EQ(DownloadedSamples(path).size(), static_cast<size_t>(result.samples));
    }
  }
}

TEST_F(Hostile, FilesThatPromiseMoreThanTheyHold) {
  // A header announcing 1000 samples over 400 bytes of data.
  Save(temp_ / "cut.wav", RiffOf(ChunkOf("fmt ", FmtBody(1, 1, 44100, 16, 2))) + Text("data") +
                              Le32(2000) + Bytes(400, 7));
  RecordingProgress progress;
  const TransferResult cut = Upload(temp_ / "cut.wav", NewInstrument(), progress);
  EXPECT_EQ(cut.outcome, TransferOutcome::Refused);
  EXPECT_NE(cut.message.find("cut short: it holds 200 of the 1000 samples"), std::string::npos)
      << cut.message;
  EXPECT_TRUE(SamplerData(kNewInstrument, 1).empty());
  // A streamed file's unknown length is no promise: its samples go up.
  Save(temp_ / "streamed.wav", RiffOf(ChunkOf("fmt ", FmtBody(1, 1, 44100, 16, 2))) + Text("data") +
                                   Le32(0xFFFFFFFF) + Bytes(400, 7));
  EXPECT_TRUE(Upload(temp_ / "streamed.wav", NewInstrument(), progress).Succeeded());

  // A file that shrinks while it is sent fails instead of sending what is not there.
  WriteMono16(temp_ / "shrinks.wav", TestSignal(20000));
  RecordingProgress shrinking;
  shrinking.onUpdate = [&](int updates) {
    if (updates == 1) std::filesystem::resize_file(temp_ / "shrinks.wav", 1000);
  };
  const TransferResult shrunk = Upload(temp_ / "shrinks.wav", NewInstrument(), shrinking);
  EXPECT_EQ(shrunk.outcome, TransferOutcome::Failed);
  EXPECT_NE(shrunk.message.find("could not be read"), std::string::npos) << shrunk.message;
}

TEST_F(Hostile, PathsThatAreTooLongOrNotUtf8) {
  const std::string tooLong = temp_ / (std::string(300, 'x') + ".wav");
  RecordingProgress progress;
  const TransferResult down = Download(tooLong, progress);
  EXPECT_EQ(down.outcome, TransferOutcome::Failed);
  EXPECT_EQ(down.message.rfind("Unable to create destination file", 0), 0u);
  const TransferResult up = Upload(tooLong, NewInstrument(), progress);
  EXPECT_EQ(up.outcome, TransferOutcome::Refused);
  EXPECT_FALSE(up.message.empty());

  const std::string latin1 = temp_ / "b\xE4sse\xFF.wav";
  ASSERT_TRUE(Download(latin1, progress).Succeeded());
  EXPECT_TRUE(Upload(latin1, NewInstrument(), progress).Succeeded());
  const std::vector<int16_t> back = DownloadedSamples(latin1);
  const std::vector<int16_t> stored = SamplerData(kNewInstrument, 1);
  ASSERT_GE(stored.size(), back.size());
  EXPECT_TRUE(std::equal(back.begin(), back.end(), stored.begin()));
}

TEST(HostileNames, CharactersTheSamplerCannotShowBecomeOneBlankEach) {
  const std::pair<std::string, std::string> cases[] = {
      {"b\xC3\xA4sse", "B SSE       "},                // UTF-8 a-umlaut: two bytes, one blank
      {"\xE6\x97\xA5\xE6\x9C\xAC 1", "   1        "},  // two three-byte characters
      {"\xF0\x9F\x8E\xB9piano", " PIANO      "},       // a four-byte character
      {"b\xE4sse", "B SSE       "},                    // Latin-1, not UTF-8
      {"tab\tbell\a", "TAB BELL    "},
      {std::string(5000, 'z'), "ZZZZZZZZZZZZ"},
  };
  for (const auto& [name, stored] : cases) {
    int words[kNameLength];
    EncodeName(words, name);
    std::string text;
    for (int word : words) text += static_cast<char>(word >> 8);
    EXPECT_EQ(text, stored) << name;
  }
}

}  // namespace
}  // namespace kelvora::transfer::test
