#pragma once

#include <QJsonObject>
#include <cstdint>
#include <string>

#include "batch/JobResult.h"

namespace kelvora::cli {

class Console;

// How a batch job's result reaches the shell: the exit code its outcome means (done 0, failed or
// any problem 1, refused 4, interrupted 130), its problems and its reason as errors, and the
// JSON object that --json prints, to which a command adds its own fields.
int JobExit(const batch::JobResult& result);
void TellProblems(Console& console, const batch::JobResult& result);
QJsonObject JobJson(const batch::JobResult& result);
// "1 wavesample", "5 wavesamples".
std::string Count(int64_t n, const std::string& noun);

}  // namespace kelvora::cli
