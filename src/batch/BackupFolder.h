#pragma once

#include <QByteArray>
#include <cstdint>
#include <string>

#include "batch/Snapshot.h"

namespace kelvora::batch {

// The files of one backup folder and the rules for writing them: nothing is ever written in
// place. A file is written under a temporary name ending in ".part", flushed to the disk and
// renamed over its final name, so an interruption (Ctrl+C, a killed process, a full disk, a lost
// cable) leaves either the old file or the new one, never a half-written one under a final name.
//
// Layout: manifest.json, and for instrument I (1..8) a folder "instrument-I" with
// "instrument.words", "layer-L.words" (L 1..8), "ws-NNN.words" and "ws-NNN.wav" (NNN the
// wavesample number 001..127). A .words file holds a parameter record as read: one 16-bit
// little-endian word per parameter word.
class BackupFolder {
 public:
  enum class State {
    Missing,  // no such folder yet
    Empty,
    Backup,   // holds a manifest.json
    Foreign,  // holds other files and no manifest: not a folder to write a backup into
    NotAFolder,
  };

  static constexpr const char* kManifest = "manifest.json";
  static constexpr const char* kPartSuffix = ".part";

  explicit BackupFolder(std::string root);

  const std::string& Root() const { return root_; }
  std::string Path(const std::string& relative) const;
  State Examine() const;
  bool Create(std::string& failure) const;

  static std::string InstrumentRecordPath(int instrument);
  static std::string LayerRecordPath(int instrument, int layer);
  static std::string WaveSampleRecordPath(int instrument, int waveSample);
  static std::string WaveSampleDataPath(int instrument, int waveSample);

  // Writes `bytes` to `relative` through a temporary file; false with a sentence on failure.
  bool WriteAtomically(const std::string& relative, const QByteArray& bytes,
                       std::string& failure) const;
  // A record as a .words file; `stored` gets its path and SHA-256.
  bool WriteRecord(const std::string& relative, const Record& record, StoredFile& stored,
                   std::string& failure) const;
  // The record of `stored` when the file is there, matches its SHA-256 and holds `words` words.
  bool ReadRecord(const StoredFile& stored, int words, Record& record) const;
  // Flushes a finished temporary file to the disk and renames it to `relative`.
  bool Commit(const std::string& partRelative, const std::string& relative,
              std::string& failure) const;
  // Whether the file is there and its bytes hash to `sha256`.
  bool Matches(const StoredFile& stored) const;
  // SHA-256 of a file's bytes in lower-case hex; empty when it cannot be read.
  std::string Sha256(const std::string& relative) const;
  bool ReadManifest(QByteArray& bytes) const;
  // Temporary files left by an interrupted run.
  void RemoveParts() const;
  void Remove(const std::string& relative) const;
  // Bytes the folder's file system still takes; -1 when unknown.
  int64_t FreeBytes() const;

 private:
  std::string root_;
};

// SHA-256 of bytes in lower-case hex.
std::string Sha256Of(const QByteArray& bytes);
// A record as the bytes of a .words file, and back (false for a size that is not `words` words).
QByteArray RecordBytes(const Record& record);
bool RecordFromBytes(const QByteArray& bytes, int words, Record& record);

}  // namespace kelvora::batch
