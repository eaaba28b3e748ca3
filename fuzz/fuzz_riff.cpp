// Arbitrary file contents through the WAV reader, then, for a file the upload takes, every frame
// through the block filler as the upload reads it, up to the two trailing silent words.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "ScratchFile.h"
#include "protocol/Eps.h"
#include "transfer/RiffFile.h"
#include "transfer/RiffUploadSource.h"
#include "transfer/UploadBlockFiller.h"
#include "transfer/UploadCheck.h"
#include "transfer/UploadParams.h"

namespace {

using namespace kelvora;
using fuzz::Require;

void UploadFrames(transfer::TRiffFile& file, int channelMode, int blockSize) {
  int record[protocol::kWsParamWords];
  transfer::UploadChoices choices;
  choices.channelMode = channelMode;
  transfer::RiffUploadSource source(file, channelMode);
  transfer::PrepareUploadParams(record, source, choices);
  static int block[protocol::kSampleBufferWords];
  transfer::UploadBlockFiller filler(source);
  for (;;) {
    const int count = filler.Fill(block, blockSize);
    // The reader counted only the whole frames the file holds, so every one of them reads.
    Require(count >= 0, "a frame the reader counted could not be read");
    if (count == 0) break;
    for (int i = 0; i < count; ++i)
      Require(block[i] >= -32768 && block[i] <= 65535, "a word beyond 16 bits");
  }
  Require(filler.Read() == filler.Total(), "the upload stopped before the end");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = fuzz::ScratchDir() + "/riff.wav";
  fuzz::WriteBytes(path, data, size);
  transfer::TRiffFile file;
  file.SetFileName(path);
  const bool read = file.ReadHeader();
  Require(read == file.LastError().empty(), "a result and its reason disagree");
  Require(read == file.IsOpen, "an open file after a failure, or a closed one after success");
  if (read) Require(file.FrameCount > 0 && file.BlockAlign > 0, "an empty data chunk accepted");
  if (!transfer::UploadRefusal(file).empty()) return 0;
  // The channel choice and block size come from the file, so each input is one fixed run.
  const int channelMode = static_cast<int>(size % 3) + 1;
  UploadFrames(file, channelMode, 256 << (size % 6));
  return 0;
}
