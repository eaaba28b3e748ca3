#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What a sampler holds, as the three parameter records read from it, and where a backup keeps
// each record and each wavesample's data. Instruments and layers are indexed 0..7, wavesamples
// numbered 1..127, as on the wire.
namespace kelvora::batch {

// One int per 16-bit parameter word, as the session decodes it.
using Record = std::vector<int>;

// A file of a backup folder: its path relative to the folder and the SHA-256 of its bytes
// (lower-case hex).
struct StoredFile {
  std::string path;
  std::string sha256;
};

// A wavesample's data as a WAV file: `samples` samples from the first of its data, and the
// SHA-256 of those samples alone (16-bit little-endian), which does not change with the WAV
// header's rate, loop or root key.
struct StoredData {
  StoredFile file;
  int64_t samples = 0;
  std::string samplesSha256;
};

struct WaveSampleImage {
  int number = 1;
  int layer = -1;  // -1: no layer's key map names it and the instrument has several layers
  Record record;
  StoredFile recordFile;
  std::optional<StoredData> data;  // absent for copies and for data not fetched yet

  std::string Name() const;
  // The wavesample whose data this one plays (word 12); 0 when it holds its own.
  int CopyOf() const;
};

struct LayerImage {
  int index = 0;
  Record record;
  StoredFile recordFile;

  std::string Name() const;
};

struct InstrumentImage {
  int index = 0;
  Record record;
  StoredFile recordFile;
  std::vector<LayerImage> layers;            // in increasing index
  std::vector<WaveSampleImage> waveSamples;  // in increasing number

  std::string Name() const;
  WaveSampleImage* Find(int number);
  const WaveSampleImage* Find(int number) const;
  const LayerImage* FindLayer(int index) const;
  // How many samples of a holder's data a backup keeps: up to the furthest sample end of the
  // holder and of every copy that plays its data, so that every position stays valid.
  int DataLength(int holder) const;
};

struct Snapshot {
  std::vector<InstrumentImage> instruments;  // in increasing index

  InstrumentImage* Find(int index);
  const InstrumentImage* Find(int index) const;
  // Word 25 of the first instrument record; -1 when no instrument is loaded.
  int InstrumentId() const;
  // Sample memory the instruments take, from their size words (blocks of 256 words).
  int64_t UsedWords() const;
  // Wavesamples that hold data, over every instrument.
  int HolderCount() const;
};

// The machine an instrument ID names: "EPS-16 PLUS" ($FFFF), "ASR-10" ($FFFE), "EPS" (any other
// value), or "unknown" for -1.
std::string ModelOfId(int instrumentId);

}  // namespace kelvora::batch
