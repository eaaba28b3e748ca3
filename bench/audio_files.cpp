#include "audio_files.h"

#include <sndfile.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "transfer/UploadSources.h"

namespace kelvora::bench {

bool WriteToneFile(const std::string& path, int format, int rate, int channels, int seconds) {
  SF_INFO info{};
  info.samplerate = rate;
  info.channels = channels;
  info.format = format;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  if (file == nullptr) return false;
  std::vector<float> second(static_cast<size_t>(rate) * channels);
  bool ok = true;
  for (int s = 0; s < seconds && ok; ++s) {
    for (int i = 0; i < rate; ++i) {
      const double t = s + double(i) / rate;
      for (int c = 0; c < channels; ++c) {
        const double frequency = c == 1 ? 200 + 50 * t : 1000;
        second[static_cast<size_t>(i) * channels + c] =
            static_cast<float>(0.4 * std::sin(2 * std::numbers::pi * frequency * t));
      }
    }
    ok = sf_writef_float(file, second.data(), rate) == rate;
  }
  return sf_close(file) == 0 && ok;
}

int64_t ConvertAll(const std::string& path) {
  const transfer::OpenedSource opened = transfer::OpenUploadSource(path, {});
  if (!opened.source) return -1;
  std::vector<int> block(10240);
  int64_t words = 0;
  for (int n; (n = opened.source->Fill(block.data(), 10240)) != 0; words += n) {
    if (n < 0) return -1;
  }
  return words == opened.source->FrameCount() ? words : -1;
}

}  // namespace kelvora::bench
