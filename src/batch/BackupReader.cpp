#include "batch/BackupReader.h"

#include "batch/Manifest.h"
#include "protocol/Records.h"

namespace kelvora::batch {

namespace {

using namespace protocol;

std::string Damaged(const BackupFolder& folder, const StoredFile& file) {
  const std::string path = folder.Path(file.path);
  return "'" + path + "' is missing or damaged: its SHA-256 differs from the one in manifest.json.";
}

void LoadRecord(const BackupFolder& folder, const StoredFile& file, int words, Record& record,
                BackupContents& contents) {
  if (!folder.ReadRecord(file, words, record)) {
    record.clear();
    contents.damaged.push_back(Damaged(folder, file));
  }
}

}  // namespace

bool ReadBackup(const BackupFolder& folder, BackupContents& contents, std::string& failure) {
  contents = BackupContents{};
  QByteArray json;
  if (folder.Examine() != BackupFolder::State::Backup || !folder.ReadManifest(json)) {
    failure = "'" + folder.Root() + "' holds no backup (no manifest.json).";
    return false;
  }
  if (!ParseManifest(json, contents.snapshot, contents.complete, failure)) return false;
  for (InstrumentImage& instrument : contents.snapshot.instruments) {
    LoadRecord(folder, instrument.recordFile, kInstrRecordWords, instrument.record, contents);
    for (LayerImage& layer : instrument.layers) {
      LoadRecord(folder, layer.recordFile, kLayerRecordWords, layer.record, contents);
    }
    for (WaveSampleImage& ws : instrument.waveSamples) {
      LoadRecord(folder, ws.recordFile, kWsRecordWords, ws.record, contents);
      if (ws.data && !folder.Matches(ws.data->file)) {
        contents.damaged.push_back(Damaged(folder, ws.data->file));
        ws.data.reset();
      }
    }
  }
  return true;
}

}  // namespace kelvora::batch
