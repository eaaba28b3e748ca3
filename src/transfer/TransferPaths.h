#pragma once

#include <string>

// File-name rules of the transfers.
namespace kelvora::transfer {

// The folder part of a path, remembered as the last transfer folder: without a trailing
// separator, except for a root ("/" or "C:\"), which keeps it. Empty for a bare file name.
std::string FolderOf(const std::string& path);

// The instrument name an upload to wavesample 1 takes: the file name without its folder, cut
// before its first "." (kick.01.wav gives kick).
std::string NameBeforeFirstDot(const std::string& path);

}  // namespace kelvora::transfer
