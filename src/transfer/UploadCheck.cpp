#include "transfer/UploadCheck.h"

#include "transfer/FrameConversion.h"

namespace kelvora::transfer {
namespace {

std::string FormatRefusal(const TRiffFile& file) {
  if (file.FormatTag != 1) return "format tag " + std::to_string(file.FormatTag) + " is not PCM";
  if (file.Channels != 1 && file.Channels != 2)
    return std::to_string(file.Channels) + " channels: only mono and stereo files can be uploaded";
  if (file.BitsPerSample != 8 && file.BitsPerSample != 16)
    return std::to_string(file.BitsPerSample) +
           " bits per sample: only 8-bit and 16-bit files can be uploaded";
  if (file.BlockAlign != ConvertibleFrameBytes(file.Channels, file.BitsPerSample))
    return "a frame of " + std::to_string(file.BlockAlign) + " bytes does not fit " +
           std::to_string(file.Channels) + " channel(s) of " + std::to_string(file.BitsPerSample) +
           " bits";
  return {};
}

std::string LengthRefusal(const TRiffFile& file) {
  if (file.SampleRate <= 0) return "the sample rate is " + std::to_string(file.SampleRate) + " Hz";
  if (file.FrameCount <= 0) return "the file holds no samples";
  // Sending what is there would make a shorter wavesample than the file promises, unnoticed.
  if (file.CutShort)
    return "the file is cut short: it holds " + std::to_string(file.FrameCount) + " of the " +
           std::to_string(file.AnnouncedFrames) + " samples its header announces";
  if (file.FrameCount > kMaxUploadFrames)
    return std::to_string(file.FrameCount) + " samples: a wavesample holds at most " +
           std::to_string(kMaxUploadFrames);
  return {};
}

}  // namespace

std::string UploadRefusal(const TRiffFile& file) {
  if (!file.LastError().empty()) return file.LastError();
  // The upload reads the frames from the open file, positioned by ReadHeader.
  if (!file.IsOpen) return "the file has not been read";
  std::string refusal = FormatRefusal(file);
  return refusal.empty() ? LengthRefusal(file) : refusal;
}

}  // namespace kelvora::transfer
