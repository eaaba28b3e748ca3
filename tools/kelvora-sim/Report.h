#pragma once

#include <string>

namespace kelvora::simcli {

// Writes "kelvora-sim: " and the line to standard error in one write, so that lines from
// different threads never mix. Any thread.
void Report(const std::string& line);

}  // namespace kelvora::simcli
