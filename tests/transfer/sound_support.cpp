#include "transfer/sound_support.h"

#include <sndfile.h>

#include <cmath>
#include <numbers>
#include <stdexcept>

#include "transfer/SoundFile.h"
#include "transfer/wav_support.h"

namespace kelvora::transfer::test {
namespace {

constexpr uint8_t kPutWsData = 0x0F;

SNDFILE* Create(const std::string& path, int format, int rate, int channels) {
  SF_INFO info{};
  info.samplerate = rate;
  info.channels = channels;
  info.format = format;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  if (file == nullptr) throw std::runtime_error(path + ": " + sf_strerror(nullptr));
  return file;
}

void SetMarks(SNDFILE* file, const FileMarks& marks) {
  if (!marks.loop && !marks.rootKey) return;
  SF_INSTRUMENT instrument{};
  instrument.gain = 1;
  instrument.basenote = static_cast<char>(marks.rootKey.value_or(60));
  instrument.key_hi = instrument.velocity_hi = 127;
  if (marks.loop) {
    instrument.loop_count = 1;
    instrument.loops[0].mode = SF_LOOP_FORWARD;
    instrument.loops[0].start = static_cast<unsigned>(marks.loop->start);
    instrument.loops[0].end = static_cast<unsigned>(marks.loop->end);
  }
  sf_command(file, SFC_SET_INSTRUMENT, &instrument, sizeof instrument);
}

void Finish(SNDFILE* file, const std::string& path, sf_count_t written, sf_count_t expected) {
  sf_close(file);
  if (written != expected) throw std::runtime_error("cannot write " + path);
}

// Big-endian, in `bytes` bytes (up to 8).
Bytes Be(uint64_t value, int bytes) {
  Bytes out;
  for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
  return out;
}

Bytes IffChunk(const char* id, const Bytes& body) {
  Bytes chunk = Text(id) + Be(static_cast<uint32_t>(body.size()), 4) + body;
  if (body.size() % 2 != 0) chunk.push_back(0);
  return chunk;
}

// A marker: id, position, and an empty name (count byte and pad).
Bytes Marker(int id, int position) { return Be(id, 2) + Be(position, 4) + Bytes{0, 0}; }

}  // namespace

Bytes AiffWithLoop(int frames, int loopStart, int loopEnd, int rootKey) {
  const Bytes rate44100 = {0x40, 0x0E, 0xAC, 0x44, 0, 0, 0, 0, 0, 0};  // 80-bit float
  const Bytes comm = Be(1, 2) + Be(frames, 4) + Be(16, 2) + rate44100;
  const Bytes mark = Be(2, 2) + Marker(1, loopStart) + Marker(2, loopEnd);
  // base note, detune, key and velocity range, gain; sustain loop forward from marker 1 to 2;
  // no release loop.
  const Bytes inst = Bytes{static_cast<uint8_t>(rootKey), 0, 0, 127, 1, 127} + Be(0, 2) + Be(1, 2) +
                     Be(1, 2) + Be(2, 2) + Be(0, 6);
  const Bytes ssnd = Be(0, 8) + Bytes(2 * static_cast<size_t>(frames));
  const Bytes body = Text("AIFF") + IffChunk("COMM", comm) + IffChunk("MARK", mark) +
                     IffChunk("INST", inst) + IffChunk("SSND", ssnd);
  return Text("FORM") + Be(static_cast<uint32_t>(body.size()), 4) + body;
}

Samples Tone(double frequency, int rate, double seconds, int channels, double amplitude) {
  const auto frames = static_cast<size_t>(std::lround(seconds * rate));
  Samples samples(frames * channels);
  for (size_t i = 0; i < frames; ++i) {
    const double value = amplitude * std::sin(2 * std::numbers::pi * frequency * i / rate);
    for (int c = 0; c < channels; ++c) samples[i * channels + c] = value;
  }
  return samples;
}

void WriteSound(const std::string& path, int format, int rate, int channels, const Samples& samples,
                const FileMarks& marks) {
  SNDFILE* file = Create(path, format, rate, channels);
  SetMarks(file, marks);
  const auto frames = static_cast<sf_count_t>(samples.size() / channels);
  Finish(file, path, sf_writef_double(file, samples.data(), frames), frames);
}

void WriteSoundInts(const std::string& path, int format, int rate,
                    const std::vector<int>& samples) {
  SNDFILE* file = Create(path, format, rate, 1);
  const auto frames = static_cast<sf_count_t>(samples.size());
  Finish(file, path, sf_writef_int(file, samples.data(), frames), frames);
}

SoundRead ReadSound(const std::string& path) {
  SoundFile file;
  if (!file.Open(path)) throw std::runtime_error(path + ": " + file.Error());
  SoundRead read;
  read.rate = file.Rate();
  read.marks = file.Marks();
  std::vector<float> frame(static_cast<size_t>(file.Channels()));
  while (file.Read(frame.data(), 1) == 1)
    read.samples.push_back(static_cast<int16_t>(std::lround(frame[0] * 32768.0)));
  return read;
}

double MeasuredFrequency(const std::vector<int16_t>& samples, double rate) {
  const size_t first = samples.size() / 10;
  const size_t last = samples.size() - samples.size() / 10;
  double firstCrossing = -1;
  double lastCrossing = -1;
  int cycles = -1;
  for (size_t i = first; i + 1 < last; ++i) {
    if (samples[i] >= 0 || samples[i + 1] < 0) continue;
    const double at = i + double(-samples[i]) / (samples[i + 1] - samples[i]);
    if (firstCrossing < 0) firstCrossing = at;
    lastCrossing = at;
    ++cycles;
  }
  if (cycles < 1) return 0;
  return cycles * rate / (lastCrossing - firstCrossing);
}

std::vector<int> SentDataWords(const std::vector<uint8_t>& bytes) {
  std::vector<int> words;
  bool dataNext = false;
  for (size_t at = 0; at < bytes.size(); ++at) {
    if (bytes[at] != 0xF0) continue;
    size_t end = at;
    while (end < bytes.size() && bytes[end] != 0xF7) ++end;
    const size_t body = at + 4;  // after F0 0F 03 ch
    // A command after the header (the creation of a missing target) is no data: its byte is
    // above the 4 bits that start a word.
    if (dataNext && body < end && bytes[body] <= 0x0F) {
      for (size_t w = body; w + 3 <= end; w += 3)
        words.push_back((bytes[w] & 0x0F) << 12 | bytes[w + 1] << 6 | bytes[w + 2]);
    }
    const bool wasData = dataNext && body < end && bytes[body] <= 0x0F;
    dataNext = !wasData && body < end && bytes[body] == kPutWsData;
    at = end;
  }
  return words;
}

std::vector<int> AllWords(UploadSource& source) {
  std::vector<int> words;
  int block[1000];
  for (int n; (n = source.Fill(block, 1000)) != 0;) {
    if (n < 0) throw std::runtime_error("the source failed after " + std::to_string(words.size()));
    words.insert(words.end(), block, block + n);
  }
  return words;
}

}  // namespace kelvora::transfer::test
