#include "support/Shots.h"

#include <QCoreApplication>
#include <QDir>
#include <QSet>

namespace kelvora::testing {

QString ShotFolder() {
  QString folder = qEnvironmentVariable("KELVORA_SHOTS");
  if (folder.isEmpty()) folder = QCoreApplication::applicationDirPath() + "/shots";
  QDir().mkpath(folder);
  return folder;
}

QImage Shoot(QWidget* widget, const QString& name) {
  const QImage image = widget->grab().toImage();
  image.save(ShotFolder() + "/" + name + ".png");
  return image;
}

int ColourCount(const QImage& image) {
  QSet<QRgb> colours;
  for (int y = 0; y < image.height(); y += 2) {
    for (int x = 0; x < image.width(); x += 2) colours.insert(image.pixel(x, y));
  }
  return colours.size();
}

}  // namespace kelvora::testing
