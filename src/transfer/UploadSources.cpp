#include "transfer/UploadSources.h"

#include <sndfile.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "transfer/AudioFormat.h"
#include "transfer/ConvertedUploadSource.h"
#include "transfer/RiffFile.h"
#include "transfer/RiffScan.h"
#include "transfer/RiffUploadSource.h"
#include "transfer/SamplerRates.h"
#include "transfer/UploadCheck.h"

namespace kelvora::transfer {
namespace {

constexpr int kMaxRate = 1000000;
constexpr int kMaxChannels = 256;

OpenedSource Refused(const std::string& name, const std::string& reason) {
  OpenedSource opened;
  opened.refusal = "The file '" + name + "' cannot be uploaded: " + reason + ".";
  return opened;
}

std::string FormatRefusal(const SoundFile& file) {
  if (file.Rate() <= 0) return "its sample rate is " + std::to_string(file.Rate()) + " Hz";
  if (file.Rate() > kMaxRate)
    return "its sample rate of " + std::to_string(file.Rate()) + " Hz is above 1 MHz";
  if (file.Channels() < 1 || file.Channels() > kMaxChannels)
    return "it has " + std::to_string(file.Channels()) + " channels; at most " +
           std::to_string(kMaxChannels) + " can be read";
  if (file.Frames() <= 0) return "it holds no samples";
  if (file.Frames() >= SF_COUNT_MAX) return "its length is not known";
  return {};
}

std::string RateRefusal(int code) {
  if (IsTargetCode(code)) return {};
  return "rate code " + std::to_string(code) + " is not a rate the sampler plays up to 48000 Hz";
}

std::string LengthRefusal(int64_t frames) {
  if (frames <= 0) return "it holds no samples after conversion";
  if (frames <= kMaxUploadFrames) return {};
  return "it would hold " + std::to_string(frames) + " samples after conversion, and a " +
         "wavesample holds at most " + std::to_string(kMaxUploadFrames);
}

Conversion ConversionFor(const SoundFile& file, const SourceOptions& options) {
  Conversion conversion;
  conversion.pick = options.pick;
  conversion.bits = options.bits;
  conversion.resample = !options.unchanged;
  conversion.rateCode = options.unchanged         ? UnchangedCode(file.Rate())
                        : options.targetCode >= 0 ? options.targetCode
                                                  : DefaultTargetCode(file.Rate());
  return conversion;
}

FileMarks MarksOf(const SoundFile& file, const RiffFacts& facts) {
  FileMarks marks = file.Marks();
  if (facts.morlavineLoopEnd) {
    marks.loop = SourceLoop{0, *facts.morlavineLoopEnd, facts.morlavineParam};
  }
  return marks;
}

OpenedSource Converted(std::unique_ptr<SoundFile> file, const std::string& name,
                       const RiffFacts& facts, const SourceOptions& options) {
  if (std::string reason = FormatRefusal(*file); !reason.empty()) return Refused(name, reason);
  if (std::string reason = PickRefusal(options.pick, file->Channels()); !reason.empty())
    return Refused(name, reason);
  if (facts.cutShort) return Refused(name, "it is cut short: its data ends before its header says");
  const Conversion conversion = ConversionFor(*file, options);
  // Unchanged samples keep whatever code the specified rounding gives.
  if (std::string reason = RateRefusal(conversion.rateCode); !reason.empty() && !options.unchanged)
    return Refused(name, reason);
  const int64_t frames =
      ConvertedUploadSource::CountAfterConversion(file->Frames(), file->Rate(), conversion);
  if (std::string reason = LengthRefusal(frames); !reason.empty()) return Refused(name, reason);
  OpenedSource opened;
  opened.plan = {FormatLine(file->Format(), file->Rate(), file->Channels(), file->Frames()),
                 file->Rate(),
                 file->Channels(),
                 file->Frames(),
                 conversion.rateCode,
                 conversion.resample && PlayedRate(conversion.rateCode) != file->Rate(),
                 false};
  const FileMarks marks = MarksOf(*file, facts);
  opened.source = std::make_unique<ConvertedUploadSource>(std::move(file), name, conversion, marks);
  return opened;
}

RiffFacts ScanFile(const std::string& path) {
  std::FILE* stream = std::fopen(path.c_str(), "rb");
  if (stream == nullptr) return {};
  std::error_code ignored;
  const uintmax_t size = std::filesystem::file_size(path, ignored);
  const RiffFacts facts = ScanRiff(
      [stream](uint64_t offset, void* buffer, size_t count) {
        return std::fseek(stream, static_cast<long>(offset), SEEK_SET) == 0 &&
               std::fread(buffer, 1, count, stream) == count;
      },
      size == static_cast<uintmax_t>(-1) ? 0 : size);
  std::fclose(stream);
  return facts;
}

// The specified path takes a file the WAV reader can upload when its words need no change.
bool TakesSpecifiedPath(const TRiffFile& riff, const SourceOptions& options) {
  if (!UploadRefusal(riff).empty() || options.pick.mode == fcChannel) return false;
  if (options.unchanged) return true;
  const int exact = ExactCode(riff.SampleRate);
  return exact >= 0 && (options.targetCode < 0 || options.targetCode == exact);
}

OpenedSource Specified(std::unique_ptr<TRiffFile> riff, const SoundFile& marksFile,
                       const SourceOptions& options) {
  OpenedSource opened;
  const int64_t frames = riff->FrameCount;
  const int format = riff->BitsPerSample == 8 ? SF_FORMAT_WAV | SF_FORMAT_PCM_U8
                                              : SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  opened.plan = {FormatLine(format, riff->SampleRate, riff->Channels, frames),
                 riff->SampleRate,
                 riff->Channels,
                 frames,
                 UnchangedCode(riff->SampleRate),
                 false,
                 true};
  const FileMarks marks = marksFile.IsOpen() ? marksFile.Marks() : FileMarks{};
  opened.source = std::make_unique<RiffUploadSource>(std::move(riff), options.pick.mode, marks);
  return opened;
}

}  // namespace

OpenedSource OpenUploadSource(const std::string& path, const SourceOptions& options) {
  std::error_code ignored;
  if (!std::filesystem::is_regular_file(path, ignored)) return Refused(path, "no such file");
  auto riff = std::make_unique<TRiffFile>();
  riff->SetFileName(path);
  const bool riffRead = riff->ReadHeader();
  // Sending what is there would make a shorter wavesample than the file promises, unnoticed.
  if (riffRead && riff->CutShort)
    return Refused(path, "it is cut short: it holds " + std::to_string(riff->FrameCount) +
                             " of the " + std::to_string(riff->AnnouncedFrames) +
                             " samples its header announces");
  auto file = std::make_unique<SoundFile>();
  const bool opened = file->Open(path);
  if (riffRead && TakesSpecifiedPath(*riff, options))
    return Specified(std::move(riff), *file, options);
  // A WAV header the reader understood says better than libsndfile what is wrong with it.
  const std::string riffRefusal = riffRead ? UploadRefusal(*riff) : std::string();
  riff.reset();
  if (!opened && !riffRefusal.empty()) return Refused(path, riffRefusal);
  if (!opened)
    return Refused(path, "it is not in an audio format Kelvora reads (" + file->Error() + ")");
  return Converted(std::move(file), path, ScanFile(path), options);
}

OpenedSource OpenUploadSourceInMemory(const uint8_t* data, size_t size, const std::string& name,
                                      const SourceOptions& options) {
  auto file = std::make_unique<SoundFile>();
  if (!file->OpenMemory(data, size))
    return Refused(name, "it is not in an audio format Kelvora reads (" + file->Error() + ")");
  const RiffFacts facts = ScanRiff(
      [data, size](uint64_t offset, void* buffer, size_t count) {
        if (offset > size || count > size - offset) return false;
        std::copy_n(data + offset, count, static_cast<uint8_t*>(buffer));
        return true;
      },
      size);
  return Converted(std::move(file), name, facts, options);
}

}  // namespace kelvora::transfer
