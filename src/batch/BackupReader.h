#pragma once

#include <string>

#include "batch/BackupFolder.h"
#include "batch/Snapshot.h"

namespace kelvora::batch {

// A backup folder read back: its manifest and the records its files hold, each checked against
// its SHA-256. Files that are missing or do not match are listed, not trusted: their record
// stays empty, and a data file that does not match loses its data entry.
struct BackupContents {
  Snapshot snapshot;
  bool complete = false;
  std::vector<std::string> damaged;  // one sentence per file
};

// False, with a sentence, when the folder holds no backup or its manifest cannot be read.
bool ReadBackup(const BackupFolder& folder, BackupContents& contents, std::string& failure);

}  // namespace kelvora::batch
