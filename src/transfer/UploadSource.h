#pragma once

#include <optional>
#include <string>

namespace kelvora::transfer {

// A loop the file marks, in the wavesample's frames (already at the rate the upload sends).
struct SourceLoop {
  int start = 0;
  int end = 0;  // as the record's loop end: the position after the loop's last frame
  // A Morlavine chunk's fourth value: a Morlavine file's loop also sets the record's loop
  // modulation words.
  std::optional<int> morlavineParam;
};

// What a file says about how it plays: its first forward loop and its root key.
struct FileMarks {
  std::optional<SourceLoop> loop;
  std::optional<int> rootKey;  // MIDI key 0..127
};

// What an upload reads: the wavesample's words in order, its length and rate, and what the file
// says about its loop and root key. The upload adds the two silent words after the last frame.
class UploadSource {
 public:
  virtual ~UploadSource() = default;

  virtual const std::string& FileName() const = 0;
  // Frames the wavesample holds, 1..kMaxUploadFrames.
  virtual int FrameCount() const = 0;
  // The record's word 131 (rate code in the high byte).
  virtual int RateWord() const = 0;
  virtual std::optional<SourceLoop> Loop() const = 0;
  // A MIDI key 0..127, when the file names one.
  virtual std::optional<int> RootKey() const = 0;
  // Writes the next words, at most n, each a 16-bit sample; returns how many (0 after the last
  // frame), or -1 when the file cannot be read any more (it changed or was cut short).
  virtual int Fill(int* words, int n) = 0;
  // Bits per sample the words are quantized to (16, or 13 for an original EPS); 0 for a source
  // that sends the file's own words whatever the sampler keeps.
  virtual int WordBits() const { return 0; }
  // Starts again from the first frame, quantizing to `bits` from there; false when the file
  // cannot be read again. Only sources with WordBits() above 0 act on it.
  virtual bool Restart(int bits) {
    (void)bits;
    return false;
  }
  // Lets the file go; Fill fails afterwards.
  virtual void Close() = 0;
};

}  // namespace kelvora::transfer
