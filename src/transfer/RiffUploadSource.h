#pragma once

#include <memory>
#include <optional>
#include <string>

#include "transfer/RiffFile.h"
#include "transfer/UploadSource.h"

namespace kelvora::transfer {

// The specified path: the frames of an 8- or 16-bit PCM WAV file, read by TRiffFile and turned
// into words one by one by FrameToWord, exactly as they always were; the rate word by the
// specified rounding; a Morlavine chunk's loop end and parameter as the loop.
class RiffUploadSource : public UploadSource {
 public:
  // `file` has its header read and passes UploadRefusal; it stays the caller's.
  RiffUploadSource(TRiffFile& file, int channelMode, FileMarks marks = {});
  RiffUploadSource(std::unique_ptr<TRiffFile> file, int channelMode, FileMarks marks = {});

  const std::string& FileName() const override { return file_.FileName; }
  int FrameCount() const override { return file_.FrameCount; }
  int RateWord() const override;
  // The Morlavine chunk's loop when the file has one, otherwise the marks' loop.
  std::optional<SourceLoop> Loop() const override;
  std::optional<int> RootKey() const override { return marks_.rootKey; }
  int Fill(int* words, int n) override;
  void Close() override { file_.Close(); }

 private:
  std::unique_ptr<TRiffFile> owned_;
  TRiffFile& file_;
  int channelMode_;
  FileMarks marks_;
  int read_ = 0;
};

}  // namespace kelvora::transfer
