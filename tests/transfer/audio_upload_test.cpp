// Audio files of every format through the upload into the simulated sampler and back out by a
// download: formats, pitch, the specified path's words, loops, and the original EPS's 13 bits.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <cstdio>

#include "protocol/Records.h"
#include "transfer/SamplerRates.h"
#include "transfer/sound_support.h"
#include "transfer/transfer_support.h"
#include "transfer/wav_support.h"

namespace kelvora::transfer::test {
namespace {

using namespace protocol;

constexpr int kTarget = 3;  // the demo content fills instruments 1..3

class AudioUpload : public TransferFixture {
 protected:
  UploadChoices Target() const {
    UploadChoices choices;
    choices.instrument = kTarget;
    return choices;
  }
  // Uploads the file into the target and returns what the sampler holds.
  std::vector<int16_t> Uploaded(const std::string& path, SourceOptions options = {}) {
    RecordingProgress progress;
    const TransferResult result = UploadFile(path, Target(), progress, options);
    EXPECT_TRUE(result.Succeeded()) << path << ": " << result.message;
    return SamplerData(kTarget, 1);
  }
  // Uploads, downloads, and measures the tone at the rate the downloaded file declares.
  double CentsAfterRoundTrip(const std::string& path, SourceOptions options = {}) {
    Uploaded(path, options);
    RecordingProgress progress;
    const std::string back = temp_ / "back.wav";
    EXPECT_TRUE(Download(back, progress).Succeeded());
    const SoundRead read = ReadSound(back);
    return CentsOff(MeasuredFrequency(read.samples, read.rate), 1000);
  }

  TempFolder temp_;
};

TEST_F(AudioUpload, EveryFormatGoesIntoTheSampler) {
  const struct {
    const char* name;
    int format;
    int rate;
    int channels;
  } files[] = {
      {"u8.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_U8, 22050, 1},
      {"s16.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 32000, 2},
      {"s24.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_24, 44100, 1},
      {"s32.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_32, 48000, 2},
      {"float.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT, 96000, 2},
      {"double.wav", SF_FORMAT_WAV | SF_FORMAT_DOUBLE, 11025, 1},
      {"ext24.wav", SF_FORMAT_WAVEX | SF_FORMAT_PCM_24, 88200, 4},
      {"s16.aiff", SF_FORMAT_AIFF | SF_FORMAT_PCM_16, 44100, 2},
      {"float.aifc", SF_FORMAT_AIFF | SF_FORMAT_FLOAT, 48000, 1},
      {"s24.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_24, 96000, 2},
      {"vorbis.ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS, 44100, 2},
      {"voice.opus", SF_FORMAT_OGG | SF_FORMAT_OPUS, 48000, 1},
      {"lame.mp3", SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III, 44100, 2},
      {"alac.caf", SF_FORMAT_CAF | SF_FORMAT_ALAC_16, 44100, 1},
      {"s24.w64", SF_FORMAT_W64 | SF_FORMAT_PCM_24, 192000, 1},
      {"float.rf64", SF_FORMAT_RF64 | SF_FORMAT_FLOAT, 22050, 2},
  };
  for (const auto& file : files) {
    const std::string path = temp_ / file.name;
    WriteSound(path, file.format, file.rate, file.channels,
               Tone(1000, file.rate, 0.1, file.channels));
    const OpenedSource opened = OpenUploadSource(path, {});
    ASSERT_TRUE(opened.source) << opened.refusal;
    const std::vector<int16_t> data = Uploaded(path);
    EXPECT_EQ(data.size(), size_t(opened.source->FrameCount()) + 2) << file.name;
    const double played = PlayedRate(DefaultTargetCode(file.rate));
    EXPECT_NEAR(CentsOff(MeasuredFrequency(data, played), 1000), 0, 1) << file.name;
  }
}

TEST_F(AudioUpload, FilesMadeBySoxGoIntoTheSampler) {
  if (!HaveSox()) GTEST_SKIP() << "sox is not installed (apt-get install sox)";
  const std::pair<const char*, const char*> files[] = {{"sox24.aifc", "-b 24"},
                                                       {"soxfloat.wav", "-e floating-point -b 32"},
                                                       {"sox16.flac", "-b 16"},
                                                       {"sox8.wav", "-b 8"}};
  for (const auto& [name, encoding] : files) {
    const std::string path = temp_ / name;
    ASSERT_TRUE(
        RunSox("-n -r 32000 -c 2 " + std::string(encoding) + " '" + path + "' synth 0.1 sine 1000"))
        << name;
    const std::vector<int16_t> data = Uploaded(path);
    EXPECT_NEAR(CentsOff(MeasuredFrequency(data, PlayedRate(19)), 1000), 0, 1) << name;
  }
}

// The pitch that comes back, at the rate the downloaded file declares, is the pitch that went in.
TEST_F(AudioUpload, PitchIsTrueAtEveryRate) {
  const int formats[] = {SF_FORMAT_PCM_16, SF_FORMAT_PCM_24, SF_FORMAT_FLOAT};
  std::string table = "rate     format  before (cents)  after (cents)\n";
  for (int rate : {8000, 11025, 22050, 32000, 44100, 48000, 88200, 96000, 192000}) {
    for (int subtype : formats) {
      const std::string path = temp_ / "tone.wav";
      WriteSound(path, SF_FORMAT_WAV | subtype, rate, 1, Tone(1000, rate, 0.2));
      const double after = CentsAfterRoundTrip(path);
      EXPECT_NEAR(after, 0, 0.5) << rate << " Hz, subtype " << subtype;
      SourceOptions unchanged;
      unchanged.unchanged = true;
      const double before = CentsAfterRoundTrip(path, unchanged);
      char line[96];
      std::snprintf(line, sizeof line, "%6d  %6s  %+14.2f  %+13.3f\n", rate,
                    subtype == SF_FORMAT_FLOAT    ? "float"
                    : subtype == SF_FORMAT_PCM_24 ? "24"
                                                  : "16",
                    before, after);
      table += line;
    }
  }
  std::printf("%s", table.c_str());
}

TEST_F(AudioUpload, TheSpecifiedPathSendsTodaysWords) {
  WriteMono16(temp_ / "signal.wav", TestSignal(3000), 44100);
  RecordingProgress progress;
  TakeSent();
  ASSERT_TRUE(Upload(temp_ / "signal.wav", Target(), progress).Succeeded());
  const std::vector<int> before = SentDataWords(TakeSent());
  ASSERT_TRUE(UploadFile(temp_ / "signal.wav", Target(), progress).Succeeded());
  const std::vector<int> after = SentDataWords(TakeSent());
  ASSERT_EQ(before.size(), 3002u);
  EXPECT_EQ(after, before);
}

TEST_F(AudioUpload, ALoopComesInScaledAndSetsLoopForward) {
  FileMarks marks;
  marks.loop = SourceLoop{2000, 6000, {}};
  marks.rootKey = 48;
  const std::string path = temp_ / "loop.wav";
  WriteSound(path, SF_FORMAT_WAV | SF_FORMAT_PCM_24, 22050, 1, Tone(1000, 22050, 0.4), marks);
  Uploaded(path);
  ASSERT_EQ(eps->OpenWs(false), 1);
  const double ratio = PlayedRate(28) / 22050;
  EXPECT_EQ(eps->WsParams[kWsPlaybackMode], kLoopForward);
  EXPECT_NEAR(GetPosition(eps->WsParams, kWsLoopStart), 2000 * ratio, 1);
  EXPECT_NEAR(GetPosition(eps->WsParams, kWsLoopEnd), 6000 * ratio, 1);
}

class EpsUpload : public AudioUpload {
 protected:
  sim::SimOptions Options() override {
    sim::SimOptions options = AudioUpload::Options();
    options.model = sim::SamplerModel::Eps;
    options.demoContent = withDemo_;
    return options;
  }
  // Uploads a quiet 24-bit ramp; every word on the wire keeps its low 3 bits zero, and what the
  // sampler stores is the ramp rounded, not cut down.
  void ExpectThirteenBitWords() {
    std::vector<int> ramp;
    for (int i = 0; i < 6000; ++i) ramp.push_back((i % 600 - 300) * 256 * 7);
    WriteSoundInts(temp_ / "ramp.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_24, 44100, ramp);
    TakeSent();
    const std::vector<int16_t> stored = Uploaded(temp_ / "ramp.wav");
    const std::vector<int> words = SentDataWords(TakeSent());
    ASSERT_EQ(words.size(), ramp.size() + 2);
    for (int word : words) ASSERT_EQ(word & 7, 0);
    double errorSum = 0;
    for (size_t i = 0; i < ramp.size(); ++i) errorSum += stored[i] - ramp[i] / 65536.0;
    EXPECT_NEAR(errorSum / ramp.size(), 0, 0.5);
  }

  bool withDemo_ = true;
};

TEST_F(EpsUpload, TheOriginalEpsGetsThirteenBitWords) { ExpectThirteenBitWords(); }

class EmptyEpsUpload : public EpsUpload {
 protected:
  void SetUp() override {
    withDemo_ = false;
    EpsUpload::SetUp();
  }
};

// An empty sampler tells its model only once the upload has created an instrument.
TEST_F(EmptyEpsUpload, LearnsTheModelFromTheInstrumentItCreates) {
  ExpectThirteenBitWords();
  EXPECT_EQ(eps->Kind(), SamplerKind::Eps);
}

}  // namespace
}  // namespace kelvora::transfer::test
