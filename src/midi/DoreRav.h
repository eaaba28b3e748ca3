#pragma once

#include <cstddef>
#include <cstdint>

namespace kelvora::midi {

struct ByteRing;
struct ShortRing;
class ShortDataNotifier;

// Reports a driver gives about an output slot.
enum class OutEvent { Opened, Closed, Done };

// Reports a driver gives about an input slot. LongData carries SysEx bytes in arrival order
// (any fragment size); ShortData carries one packed short message; Overrun tells that the
// driver itself lost input (counted and logged by the companion library).
enum class InEvent { Opened, Closed, LongData, ShortData, Overrun };

// The companion library: per-slot open/busy flags of 16 output and 16 input slots, the
// handlers drivers call (from any thread) to report on them, and the calls the ports make by
// slot number. The handlers only set flags, copy into the registered rings and post a
// notification; they never block on anything but a slot's registration lock.
namespace DoreRav {

constexpr int kSlots = 16;

void MidiOutHandler(int slot, OutEvent event);
// For Overrun, `length` is the number of bytes the driver knows it lost (0 when unknown).
void MidiInHandler(int slot, InEvent event, const uint8_t* data = nullptr, size_t length = 0,
                   uint32_t shortMessage = 0);

// Output slots. Every flag is atomic: the driver's thread sets them, the port reads them.
bool MIDIOUTISOPEN(int slot);    // from the driver's open report until its close report
void MIDIOUTMARKBUSY(int slot);  // set by the port just before it hands over a long message
bool MIDIOUTISBUSY(int slot);    // until the driver reports that message done

// Input slots. A registration with nullptr returns only once the driver's thread can no
// longer be writing to the old ring or posting to the old notifier, so the port may free it.
void MIDIINSETLBUFFER(ByteRing* ring, int slot);
void MIDIINSETSBUFFER(ShortRing* ring, int slot);
void MIDIINSETHANDLE(ShortDataNotifier* notifier, int slot);
bool MIDIINISOPEN(int slot);
// SysEx input that leaves fewer than `bytes` bytes in the slot's byte ring raises no MIDI
// activity, so a port waiting for a whole block is not woken by every fragment before it. 1,
// every write, unless the port waits for more.
void MIDIINSETWAKELEVEL(int slot, uint32_t bytes);
// The port is closing: input the driver still reports for the slot is not stored (it could
// only be the cut-off start of a message). Cleared by the next open report.
void MIDIINREQUESTCLOSE(int slot);
// Called first by every input port operation. The drivers hand long data straight to
// MidiInHandler, so there are no receive buffers to give back; what is left to service on the
// program's thread is the debug line of each overflow episode, which the driver's thread must
// not write itself (the log may block on a file, a serial port or the session bus).
void MIDIINUNPREPAREHEADERS();

// Input lost on a slot since its byte ring was registered: SysEx bytes that found the ring
// full plus bytes the driver reported lost.
uint64_t MidiInDroppedBytes(int slot);
// Short messages that found the short ring full, since that ring was registered.
uint64_t MidiInDroppedShorts(int slot);

// A port taking a slot from its pool starts from a closed, idle slot whatever a previous
// owner left behind (a close that was never confirmed).
void ResetOutSlot(int slot);
void ResetInSlot(int slot);

}  // namespace DoreRav
}  // namespace kelvora::midi
