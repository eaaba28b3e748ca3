// Writes the seed corpus of fuzz_audio: a small file (200 frames of a tone, a few kilobytes at
// most) of every format the converted path reads, written by libsndfile, plus the chunks it
// reads besides the samples: a WAV smpl loop, AIFF markers with an INST loop, a Morlavine chunk.
#include <sndfile.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "transfer/sound_support.h"
#include "transfer/wav_support.h"

namespace {

using namespace kelvora::transfer;
using namespace kelvora::transfer::test;

constexpr int kFrames = 200;

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s corpus-folder\n", argv[0]);
    return 2;
  }
  const std::string dir = argv[1];
  const struct {
    const char* name;
    int format;
    int rate;
    int channels;
  } files[] = {
      {"u8.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_U8, 22050, 1},
      {"s24.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_24, 96000, 2},
      {"float.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT, 32000, 1},
      {"ext32.wav", SF_FORMAT_WAVEX | SF_FORMAT_PCM_32, 44100, 3},
      {"s16.aiff", SF_FORMAT_AIFF | SF_FORMAT_PCM_16, 8000, 2},
      {"double.aifc", SF_FORMAT_AIFF | SF_FORMAT_DOUBLE, 11025, 1},
      {"s16.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 48000, 1},
      {"vorbis.ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS, 22050, 1},
      {"voice.opus", SF_FORMAT_OGG | SF_FORMAT_OPUS, 48000, 1},
      {"lame.mp3", SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III, 22050, 1},
      {"alac.caf", SF_FORMAT_CAF | SF_FORMAT_ALAC_16, 44100, 1},
      {"s16.w64", SF_FORMAT_W64 | SF_FORMAT_PCM_16, 88200, 1},
      {"s16.rf64", SF_FORMAT_RF64 | SF_FORMAT_PCM_16, 192000, 1},
      {"ulaw.au", SF_FORMAT_AU | SF_FORMAT_ULAW, 8000, 1},
  };
  for (const auto& file : files) {
    const double seconds = double(kFrames) / file.rate;
    WriteSound(dir + "/" + file.name, file.format, file.rate, file.channels,
               Tone(1000, file.rate, seconds, file.channels));
  }
  FileMarks marks;
  marks.loop = SourceLoop{50, 150, {}};
  marks.rootKey = 57;
  WriteSound(dir + "/smpl-loop.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 22050, 1,
             Tone(1000, 22050, double(kFrames) / 22050), marks);
  Save(dir + "/inst-loop.aiff", AiffWithLoop(kFrames, 50, 150, 64));
  const Bytes mrlv = ChunkOf("mrlv", Le16(150) + Le16(0) + Le16(0) + Le16(9));
  Save(dir + "/morlavine24.wav", RiffOf(ChunkOf("fmt ", FmtBody(1, 1, 22050, 24, 3)) + mrlv +
                                        ChunkOf("data", Bytes(3 * kFrames, 0x11))));
  return 0;
}
