#pragma once

#include <QByteArray>
#include <string>

#include "batch/Snapshot.h"

// manifest.json of a backup folder: what the sampler held (model, memory, names, copy links,
// key maps, every wavesample's keys, rate, loop and positions) and every file with its SHA-256.
// Numbers are written the way the user sees them: instruments and layers 1..8, wavesamples
// 1..127. The parameter records themselves live in their own files; the manifest names them.
namespace kelvora::batch {

constexpr const char* kManifestFormat = "kelvora-backup";
constexpr int kManifestVersion = 1;

// `complete` says every wavesample's data is in the folder.
QByteArray ManifestJson(const Snapshot& snapshot, bool complete);

// The structure and the files of a manifest; the records stay empty (the folder loads them).
// False, with a sentence in `failure`, for anything that is not a manifest this program wrote:
// bad JSON, another format or version, numbers out of range, a file path that leaves the folder
// or a malformed SHA-256.
bool ParseManifest(const QByteArray& json, Snapshot& snapshot, bool& complete,
                   std::string& failure);

// A path a manifest may name: relative, inside the folder, without "." or ".." parts.
bool SafeRelativePath(const std::string& path);

}  // namespace kelvora::batch
