#include "app/DroppedFiles.h"

#include <QFile>

#include "transfer/AudioFormat.h"

namespace kelvora::app {

QStringList DroppedAudioFiles(const QList<QUrl>& urls) {
  QStringList files;
  for (const QUrl& url : urls) {
    if (!url.isLocalFile()) continue;
    const QString path = url.toLocalFile();
    if (transfer::HasReadableExtension(QFile::encodeName(path).toStdString())) files << path;
  }
  return files;
}

}  // namespace kelvora::app
