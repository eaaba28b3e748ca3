#pragma once

#include <QJsonObject>
#include <string>
#include <vector>

#include "batch/Snapshot.h"

namespace kelvora::cli {

// What `ls` shows, built once as JSON; the text lines are made from the same object, so --json
// holds every field the text prints. Memory is only what the instrument records state (their
// size in blocks of 256 words): the sampler does not tell its free memory over MIDI.
QJsonObject ListingJson(const batch::Snapshot& snapshot);
std::vector<std::string> ListingText(const QJsonObject& listing);

// One wavesample's record as listed: name, copy link, positions, length, rate, root key, key
// range, playback mode and loop.
QJsonObject WaveSampleJson(int instrument, const batch::WaveSampleImage& waveSample);

}  // namespace kelvora::cli
