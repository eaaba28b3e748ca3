#include "transfer/transfer_support.h"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <thread>

#include "transfer/RiffFile.h"
#include "transfer/WavWriter.h"
#include "transfer/wav_support.h"

namespace kelvora::transfer::test {

void RecordingProgress::ShowProgress() {
  calls.push_back("show");
  cancelled_ = false;
  lastActivity_ = std::chrono::steady_clock::now();
}

void RecordingProgress::UpdateProgress(float secondsLeft, float percent) {
  calls.push_back("update");
  updates.push_back({secondsLeft, percent});
  lastActivity_ = std::chrono::steady_clock::now();
  if (onUpdate) onUpdate(static_cast<int>(updates.size()));
  if (cancelAfterUpdates >= 0 && static_cast<int>(updates.size()) >= cancelAfterUpdates) {
    cancelled_ = true;
  }
}

bool RecordingProgress::Cancelled() {
  ++polls;
  if (cancelWhenIdle.count() >= 0 &&
      std::chrono::steady_clock::now() - lastActivity_ > cancelWhenIdle) {
    cancelled_ = true;
  }
  if (cancelWhen && cancelWhen()) cancelled_ = true;
  return cancelled_;
}

void TransferFixture::SetUp() {
  SessionFixture::SetUp();
  ASSERT_TRUE(Connect()) << "the simulated sampler does not answer";
}

sim::SimOptions TransferFixture::Options() {
  sim::SimOptions options = SessionFixture::Options();
  options.demoContent = true;
  return options;
}

TransferResult TransferFixture::Upload(const std::string& wav, const UploadChoices& choices,
                                       RecordingProgress& progress) {
  UploadEngine engine(*eps, progress);
  if (!engine.Begin()) return {TransferOutcome::Failed, "no sampler", 0};
  eps->ReadConfig();
  TRiffFile file;
  file.SetFileName(wav);
  file.ReadHeader();
  return engine.Upload(choices, file);
}

TransferResult TransferFixture::UploadFile(const std::string& path, const UploadChoices& choices,
                                           RecordingProgress& progress, SourceOptions options) {
  UploadEngine engine(*eps, progress);
  if (!engine.Begin()) return {TransferOutcome::Failed, "no sampler", 0};
  eps->ReadConfig();
  options.pick = {choices.channelMode, choices.channel};
  const OpenedSource opened = OpenUploadSource(path, options);
  if (!opened.source) return {TransferOutcome::Refused, opened.refusal, 0};
  return engine.Upload(choices, *opened.source);
}

TransferResult TransferFixture::Download(const std::string& path, RecordingProgress& progress) {
  DownloadEngine engine(*eps, progress);
  if (!engine.Begin()) return {TransferOutcome::Failed, "no sampler", 0};
  if (eps->OpenWs(false) != 1) return {TransferOutcome::Failed, "no record", 0};
  return engine.Download(path);
}

std::vector<std::pair<int, int>> RangesSent(sim::SimulatedSampler& sampler, int type) {
  sampler.WaitIdle(std::chrono::seconds(5));
  std::vector<std::pair<int, int>> ranges;
  for (const sim::LoggedMessage& message : sampler.Log().Messages()) {
    if (message.type != type || message.words.size() < 7) continue;
    const std::vector<int>& w = message.words;
    ranges.emplace_back(w[3] << 12 | w[4], w[5] << 12 | w[6]);
  }
  return ranges;
}

int CountSent(sim::SimulatedSampler& sampler, int type) {
  sampler.WaitIdle(std::chrono::seconds(5));
  int count = 0;
  for (const sim::LoggedMessage& message : sampler.Log().Messages()) count += message.type == type;
  return count;
}

void WriteMono16(const std::string& path, const std::vector<int16_t>& samples, int rate) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) throw std::runtime_error("cannot create " + path);
  bool ok = WriteWavHeader(file, rate, static_cast<uint32_t>(samples.size()));
  for (int16_t sample : samples) ok = ok && WriteLe16(file, static_cast<uint16_t>(sample));
  if (std::fclose(file) != 0 || !ok) throw std::runtime_error("cannot write " + path);
}

void WritePcm(const std::string& path, int channels, int bits, int rate,
              const std::vector<uint8_t>& frames) {
  const int blockAlign = channels * bits / 8;
  Save(path, RiffOf(ChunkOf("fmt ", FmtBody(1, channels, rate, bits, blockAlign)) +
                    ChunkOf("data", frames)));
}

std::vector<uint8_t> FrameBytes(const std::string& path) {
  TRiffFile file;
  file.SetFileName(path);
  if (!file.ReadHeader()) return {};
  std::vector<uint8_t> bytes(static_cast<size_t>(file.FrameCount) * file.BlockAlign);
  for (size_t at = 0; at < bytes.size(); at += file.BlockAlign) {
    if (!file.ReadFrame(bytes.data() + at, bytes.size() - at)) return {};
  }
  return bytes;
}

// The header is checked byte by byte, so a file whose sizes disagree with its data fails here.
std::vector<int16_t> DownloadedSamples(const std::string& path) {
  const Bytes bytes = Load(path);
  if (bytes.size() < 44) return {};
  auto le32 = [&](size_t at) {
    return uint32_t(bytes[at]) | uint32_t(bytes[at + 1]) << 8 | uint32_t(bytes[at + 2]) << 16 |
           uint32_t(bytes[at + 3]) << 24;
  };
  const uint32_t dataBytes = le32(40);
  // The RIFF size counts every byte after it: the data and the smpl chunk after it.
  if (le32(4) != bytes.size() - 8 || bytes.size() < 44 + size_t{dataBytes}) {
    throw std::runtime_error("the header of " + path + " does not match its data");
  }
  std::vector<int16_t> samples(dataBytes / 2);
  for (size_t i = 0; i < samples.size(); ++i) {
    samples[i] = static_cast<int16_t>(bytes[44 + 2 * i] | bytes[45 + 2 * i] << 8);
  }
  return samples;
}

namespace {

int Sample(const uint8_t* at, int bits) {
  if (bits == 8) return 256 * at[0] - 32768;
  return static_cast<int16_t>(at[0] | at[1] << 8);
}

}  // namespace

std::vector<int16_t> ExpectedWords(const std::vector<uint8_t>& frames, int channels, int bits,
                                   int channelMode) {
  const size_t frameBytes = static_cast<size_t>(channels * bits / 8);
  std::vector<int16_t> words;
  for (size_t at = 0; at + frameBytes <= frames.size(); at += frameBytes) {
    const int left = Sample(&frames[at], bits);
    const int right = channels == 2 ? Sample(&frames[at + bits / 8], bits) : left;
    int word = left;
    if (channels == 2 && channelMode == fcRight) word = right;
    if (channels == 2 && channelMode == fcMono) {
      word = bits == 8 ? 128 * frames[at] + 128 * frames[at + 1] - 32768 : left / 2 + right / 2;
    }
    words.push_back(static_cast<int16_t>(word));
  }
  return words;
}

std::vector<int16_t> TestSignal(int count) {
  std::vector<int16_t> samples(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    const int value = (i * 2654435761u) >> 16;  // spreads over the whole 16-bit range
    samples[static_cast<size_t>(i)] = static_cast<int16_t>(value);
  }
  if (count > 3) {
    samples[1] = -32768;
    samples[2] = 32767;
    samples[3] = -1;
  }
  return samples;
}

bool MakeWithSox(const std::string& path, int channels, int bits, int frames, std::string& why) {
  if (!HaveSox()) {
    why = "sox is not installed (apt-get install sox): the sox-made files are not tried";
    return false;
  }
  const std::string encoding = bits == 8 ? "unsigned-integer" : "signed-integer";
  // Rate and channels go on the generator too, so that sox makes exactly `frames` frames.
  const std::string layout = "-r 22050 -c " + std::to_string(channels);
  const std::string args = "-R " + layout + " -n -e " + encoding + " -b " + std::to_string(bits) +
                           " " + layout + " '" + path + "' synth " + std::to_string(frames) +
                           "s whitenoise";
  if (!RunSox(args)) {
    why = "sox could not make " + path;
    return false;
  }
  return true;
}

}  // namespace kelvora::transfer::test
