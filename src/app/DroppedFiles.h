#pragma once

#include <QList>
#include <QStringList>
#include <QUrl>

namespace kelvora::app {

// The local files among dropped urls whose names end in ".wav" (any case), in the order given.
// Anything else (web addresses, other kinds of file) is left out.
QStringList DroppedWavFiles(const QList<QUrl>& urls);

}  // namespace kelvora::app
