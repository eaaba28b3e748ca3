#pragma once

#include <QList>
#include <QStringList>
#include <QUrl>

namespace kelvora::app {

// The local files among dropped urls whose names end in the extension of an audio format the
// upload reads (".wav", ".flac", ".aiff", ... in any case), in the order given. Anything else
// (web addresses, other kinds of file) is left out. A dropped folder stands for the audio files
// directly in it, by name.
QStringList DroppedAudioFiles(const QList<QUrl>& urls);

}  // namespace kelvora::app
