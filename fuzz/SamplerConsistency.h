#pragma once

#include "sim/SamplerMemory.h"

namespace kelvora::fuzz {

// Aborts unless the memory is whole: within its capacity, every wavesample in a layer that
// exists, holding data or copying a holder of the same instrument that shares it, and the
// first free layer and wavesample really free.
void CheckSamplerMemory(const sim::SamplerMemory& memory);

}  // namespace kelvora::fuzz
