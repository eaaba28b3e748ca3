#include "app/DroppedFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "transfer/AudioFormat.h"

namespace kelvora::app {

namespace {

bool Readable(const QString& path) {
  return transfer::HasReadableExtension(QFile::encodeName(path).toStdString());
}

// The audio files directly in a folder, by name.
QStringList AudioFilesIn(const QString& folder) {
  const QDir dir(folder);
  QStringList files;
  for (const QString& name : dir.entryList(QDir::Files, QDir::Name | QDir::IgnoreCase)) {
    if (Readable(name)) files << dir.filePath(name);
  }
  return files;
}

}  // namespace

QStringList DroppedAudioFiles(const QList<QUrl>& urls) {
  QStringList files;
  for (const QUrl& url : urls) {
    if (!url.isLocalFile()) continue;
    const QString path = url.toLocalFile();
    if (QFileInfo(path).isDir()) {
      files << AudioFilesIn(path);
    } else if (Readable(path)) {
      files << path;
    }
  }
  return files;
}

}  // namespace kelvora::app
