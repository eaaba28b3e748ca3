#pragma once

#include <cstddef>
#include <cstdint>

namespace kelvora::midi {

// Reports a driver gives about an output slot.
enum class OutEvent { Opened, Closed, Done };

// Reports a driver gives about an input slot. LongData carries SysEx bytes in arrival order
// (any fragment size); ShortData carries one packed short message; Overrun tells that the
// driver itself lost input (counted and logged by the companion library).
enum class InEvent { Opened, Closed, LongData, ShortData, Overrun };

// The companion library: per-slot open/busy flags of 16 output and 16 input slots, and the
// handlers drivers call (from any thread) to report on them. The port-facing part (flags,
// ring and notifier registration) is declared further down by the ports' owner.
namespace DoreRav {

constexpr int kSlots = 16;

void MidiOutHandler(int slot, OutEvent event);
void MidiInHandler(int slot, InEvent event, const uint8_t* data = nullptr, size_t length = 0,
                   uint32_t shortMessage = 0);

}  // namespace DoreRav
}  // namespace kelvora::midi
