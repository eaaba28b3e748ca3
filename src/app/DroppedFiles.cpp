#include "app/DroppedFiles.h"

namespace kelvora::app {

QStringList DroppedWavFiles(const QList<QUrl>& urls) {
  QStringList files;
  for (const QUrl& url : urls) {
    if (!url.isLocalFile()) continue;
    const QString path = url.toLocalFile();
    if (path.endsWith(".wav", Qt::CaseInsensitive)) files << path;
  }
  return files;
}

}  // namespace kelvora::app
