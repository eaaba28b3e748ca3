#pragma once

#include "sim/SamplerMemory.h"

namespace kelvora::sim {

// Puts the demo instruments into an empty memory, all synthesised here (no sample files):
// 1 "DEMO SYNTH": a looped sine, a decaying saw and a parameters-only copy of the sine;
// 2 "DRUMS": a noise hit;
// 3 "PAD 2 LAYERS": a looped pad (loop points, Loop Forward) on layer 1 and a looped sine on
//   layer 2.
// Everything is at 44100 Hz and fits the smallest memory of any model.
void LoadDemoContent(SamplerMemory& memory);

}  // namespace kelvora::sim
