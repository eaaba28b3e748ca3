#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

namespace kelvora::testing {

// Where the pictures go: $KELVORA_SHOTS (the build folder's "shots" under ctest), else "shots"
// beside the test program, so a run by hand never writes into the source tree.
QString ShotFolder();

// Saves the widget as drawn now; the result is the picture, for checks of what it shows.
QImage Shoot(QWidget* widget, const QString& name);

// A blank or one-colour picture means nothing was drawn.
int ColourCount(const QImage& image);

}  // namespace kelvora::testing
