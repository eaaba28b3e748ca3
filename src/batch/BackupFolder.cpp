#include "batch/BackupFolder.h"

#include <fcntl.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QFile>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace kelvora::batch {

namespace fs = std::filesystem;

namespace {

std::string Three(int number) {
  char text[8];
  std::snprintf(text, sizeof text, "%03d", number);
  return text;
}

std::string InstrumentFolder(int instrument) {
  return "instrument-" + std::to_string(instrument + 1) + "/";
}

// fsync on a path: the file's bytes, or a folder's entries after a rename.
bool SyncPath(const std::string& path, int flags) {
  const int fd = ::open(path.c_str(), flags | O_CLOEXEC);
  if (fd < 0) return false;
  const bool synced = ::fsync(fd) == 0;
  return ::close(fd) == 0 && synced;
}

}  // namespace

BackupFolder::BackupFolder(std::string root) : root_(std::move(root)) {}

std::string BackupFolder::Path(const std::string& relative) const {
  return (fs::path(root_) / relative).string();
}

BackupFolder::State BackupFolder::Examine() const {
  std::error_code error;
  const fs::file_status status = fs::status(root_, error);
  if (!fs::exists(status)) return State::Missing;
  if (!fs::is_directory(status)) return State::NotAFolder;
  if (fs::exists(Path(kManifest), error)) return State::Backup;
  return fs::is_empty(root_, error) ? State::Empty : State::Foreign;
}

bool BackupFolder::Create(std::string& failure) const {
  std::error_code error;
  fs::create_directories(root_, error);
  if (!error) return true;
  failure = "The folder '" + root_ + "' could not be created: " + error.message() + ".";
  return false;
}

std::string BackupFolder::InstrumentRecordPath(int instrument) {
  return InstrumentFolder(instrument) + "instrument.words";
}

std::string BackupFolder::LayerRecordPath(int instrument, int layer) {
  return InstrumentFolder(instrument) + "layer-" + std::to_string(layer + 1) + ".words";
}

std::string BackupFolder::WaveSampleRecordPath(int instrument, int waveSample) {
  return InstrumentFolder(instrument) + "ws-" + Three(waveSample) + ".words";
}

std::string BackupFolder::WaveSampleDataPath(int instrument, int waveSample) {
  return InstrumentFolder(instrument) + "ws-" + Three(waveSample) + ".wav";
}

bool BackupFolder::WriteAtomically(const std::string& relative, const QByteArray& bytes,
                                   std::string& failure) const {
  const std::string path = Path(relative);
  std::error_code error;
  fs::create_directories(fs::path(path).parent_path(), error);
  const std::string part = path + kPartSuffix;
  {
    QFile file(QString::fromStdString(part));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size() || !file.flush()) {
      failure = "'" + path + "' could not be written: " + file.errorString().toStdString() + ".";
      file.remove();
      return false;
    }
  }
  return Commit(relative + kPartSuffix, relative, failure);
}

bool BackupFolder::WriteRecord(const std::string& relative, const Record& record,
                               StoredFile& stored, std::string& failure) const {
  const QByteArray bytes = RecordBytes(record);
  stored = {relative, Sha256Of(bytes)};
  // A record that is already there as it is costs no write, so a resumed run leaves it alone.
  if (Matches(stored)) return true;
  return WriteAtomically(relative, bytes, failure);
}

bool BackupFolder::ReadRecord(const StoredFile& stored, int words, Record& record) const {
  QFile file(QString::fromStdString(Path(stored.path)));
  if (!file.open(QIODevice::ReadOnly)) return false;
  const QByteArray bytes = file.read(2 * words + 1);
  return Sha256Of(bytes) == stored.sha256 && RecordFromBytes(bytes, words, record);
}

bool BackupFolder::Commit(const std::string& partRelative, const std::string& relative,
                          std::string& failure) const {
  const std::string part = Path(partRelative);
  const std::string path = Path(relative);
  if (!SyncPath(part, O_RDONLY)) {
    failure = "'" + path + "' could not be saved to the disk.";
    Remove(partRelative);
    return false;
  }
  std::error_code error;
  fs::rename(part, path, error);
  if (error) {
    failure = "'" + path + "' could not take its final name: " + error.message() + ".";
    Remove(partRelative);
    return false;
  }
  // The rename itself reaches the disk with the folder's entries.
  SyncPath(fs::path(path).parent_path().string(), O_RDONLY | O_DIRECTORY);
  return true;
}

bool BackupFolder::Matches(const StoredFile& stored) const {
  return !stored.sha256.empty() && Sha256(stored.path) == stored.sha256;
}

std::string BackupFolder::Sha256(const std::string& relative) const {
  QFile file(QString::fromStdString(Path(relative)));
  if (!file.open(QIODevice::ReadOnly)) return {};
  QCryptographicHash hash(QCryptographicHash::Sha256);
  if (!hash.addData(&file)) return {};
  return hash.result().toHex().toStdString();
}

bool BackupFolder::ReadManifest(QByteArray& bytes) const {
  QFile file(QString::fromStdString(Path(kManifest)));
  if (!file.open(QIODevice::ReadOnly)) return false;
  bytes = file.readAll();
  return true;
}

void BackupFolder::RemoveParts() const {
  std::error_code error;
  for (fs::recursive_directory_iterator it(root_, error), end; !error && it != end;
       it.increment(error)) {
    if (it->is_regular_file(error) && it->path().extension() == kPartSuffix) {
      fs::remove(it->path(), error);
    }
  }
}

void BackupFolder::Remove(const std::string& relative) const {
  std::error_code error;
  fs::remove(Path(relative), error);
}

int64_t BackupFolder::FreeBytes() const {
  std::error_code error;
  const fs::space_info space = fs::space(root_, error);
  return error ? -1 : static_cast<int64_t>(space.available);
}

std::string Sha256Of(const QByteArray& bytes) {
  return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex().toStdString();
}

QByteArray RecordBytes(const Record& record) {
  QByteArray bytes;
  bytes.reserve(2 * static_cast<qsizetype>(record.size()));
  for (int word : record) {
    bytes.append(static_cast<char>(word & 0xFF));
    bytes.append(static_cast<char>((word >> 8) & 0xFF));
  }
  return bytes;
}

bool RecordFromBytes(const QByteArray& bytes, int words, Record& record) {
  if (bytes.size() != 2 * words) return false;
  record.assign(static_cast<size_t>(words), 0);
  for (int i = 0; i < words; ++i) {
    record[i] = static_cast<uint8_t>(bytes[2 * i]) | static_cast<uint8_t>(bytes[2 * i + 1]) << 8;
  }
  return true;
}

}  // namespace kelvora::batch
