#pragma once

#include <cstdint>
#include <vector>

#include "sim/SamplerMemory.h"
#include "sim/SimOptions.h"

namespace kelvora::sim {

constexpr int kOverviewWords = 512;

struct Section {
  int64_t first;
  int64_t end;  // exclusive
};

// Section i (0..511) of an overview of [start, end):
// - HalfRange: [start + i*s, start + (i+1)*s) with s = (end - start) / 1024, at least 1;
// - WholeRange: the range cut into 512 nearly equal parts, none empty.
Section OverviewSection(int64_t start, int64_t end, int i, OverviewReading reading);

// The 512 overview words: the largest absolute sample value of each section. Positions past the
// data count as silence; a peak of 32768 is sent as 32767, the largest word value.
std::vector<int> BuildOverview(const WaveData& data, int64_t start, int64_t end,
                               OverviewReading reading);

}  // namespace kelvora::sim
