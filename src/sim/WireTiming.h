#pragma once

#include <cstddef>
#include <cstdint>

namespace kelvora::sim {

// MIDI runs at 31250 baud with 10 bits on the wire per byte: 320 µs a byte, 3125 bytes a second.
constexpr int64_t kByteTimeUs = 320;

constexpr int64_t WireTimeUs(size_t bytes) { return static_cast<int64_t>(bytes) * kByteTimeUs; }

// A paced sampler hands its output on in pieces of this many bytes, each when its last byte
// would have arrived, so the host sees a long message come in over time.
constexpr size_t kPacedPieceBytes = 32;

}  // namespace kelvora::sim
