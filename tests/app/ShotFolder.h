#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QSet>
#include <QString>
#include <QWidget>

namespace kelvora::testing {

// Where the pictures go: $KELVORA_SHOTS (the build folder's "shots" under ctest), else "shots"
// beside the test program, so a run by hand never writes into the source tree.
inline QString ShotFolder() {
  QString folder = qEnvironmentVariable("KELVORA_SHOTS");
  if (folder.isEmpty()) folder = QCoreApplication::applicationDirPath() + "/shots";
  QDir().mkpath(folder);
  return folder;
}

// Saves the widget as drawn now; the result is the picture, for checks of what it shows.
inline QImage Shoot(QWidget* widget, const QString& name) {
  const QImage image = widget->grab().toImage();
  image.save(ShotFolder() + "/" + name + ".png");
  return image;
}

// A blank or one-colour picture means nothing was drawn.
inline int ColourCount(const QImage& image) {
  QSet<QRgb> colours;
  for (int y = 0; y < image.height(); y += 2) {
    for (int x = 0; x < image.width(); x += 2) colours.insert(image.pixel(x, y));
  }
  return colours.size();
}

}  // namespace kelvora::testing
