#include "transfer/DownloadWriter.h"

#include <cstdio>

#include "transfer/SoundFileDownloadWriter.h"
#include "transfer/WavDownloadWriter.h"

namespace kelvora::transfer {

const char* DownloadFormat::Extension() const {
  switch (container) {
    case Flac:
      return "flac";
    case Aiff:
      return "aiff";
    default:
      return "wav";
  }
}

std::unique_ptr<DownloadWriter> CreateDownloadWriter(const std::string& path,
                                                     const DownloadFormat& format,
                                                     const WavesampleFacts& facts) {
  if (format.IsSpecified()) {
    std::FILE* stream = std::fopen(path.c_str(), "wb");
    if (stream == nullptr) return nullptr;
    return std::make_unique<WavDownloadWriter>(stream);
  }
  auto writer = std::make_unique<SoundFileDownloadWriter>(path, format);
  if (!writer->Create(facts)) return nullptr;
  return writer;
}

}  // namespace kelvora::transfer
