#include "midi/DoreRav.h"

#include <array>
#include <atomic>
#include <mutex>
#include <string>

#include "diagnostics/Debugdevice.h"
#include "midi/MidiActivity.h"
#include "midi/Rings.h"
#include "midi/ShortDataNotifier.h"

namespace kelvora::midi::DoreRav {
namespace {

struct OutSlot {
  std::atomic<bool> open{false};
  std::atomic<bool> busy{false};
};

struct InSlot {
  std::atomic<bool> open{false};
  std::atomic<bool> closing{false};
  std::atomic<uint32_t> wakeLevel{1};
  // Held while the driver's thread writes to the rings or posts to the notifier, and while
  // the port changes them, so a ring is never freed under a writer.
  std::mutex registration;
  ByteRing* bytes = nullptr;
  ShortRing* shorts = nullptr;
  ShortDataNotifier* notifier = nullptr;
  std::atomic<uint64_t> droppedBytes{0};
  std::atomic<uint64_t> droppedShorts{0};
  // An overflow episode lasts from the first lost input until input is stored again.
  bool overflowing = false;  // driver side, under `registration`
  std::atomic<uint32_t> episodes{0};
  std::atomic<uint32_t> episodesLogged{0};
};

std::array<OutSlot, kSlots> outSlots;
std::array<InSlot, kSlots> inSlots;
std::atomic<bool> logPending{false};

bool Valid(int slot) { return slot >= 0 && slot < kSlots; }

void NoteLoss(InSlot& in) {
  if (in.overflowing) return;
  in.overflowing = true;
  in.episodes.fetch_add(1);
  logPending.store(true, std::memory_order_release);
}

// False only for input stored whole that leaves the byte ring below the port's wake level.
bool StoreLong(InSlot& in, const uint8_t* data, size_t length) {
  std::lock_guard lock(in.registration);
  if (!in.bytes || in.closing.load() || length == 0 || !data) return true;
  const size_t stored = in.bytes->Append(data, length);
  if (stored < length) {
    in.droppedBytes.fetch_add(length - stored);
    NoteLoss(in);
    return true;
  }
  in.overflowing = false;
  // Pairs with the port's store of the level before it reads the count: one of the two sides
  // sees the other, so the write that reaches the level always wakes the wait.
  std::atomic_thread_fence(std::memory_order_seq_cst);
  return static_cast<uint32_t>(in.bytes->Count.load()) >= in.wakeLevel.load();
}

void StoreShort(InSlot& in, uint32_t message) {
  std::lock_guard lock(in.registration);
  if (!in.shorts || in.closing.load()) return;
  if (in.shorts->Append(&message, 1) == 0) {
    in.droppedShorts.fetch_add(1);
    NoteLoss(in);
    return;
  }
  if (in.notifier) in.notifier->Post();
}

void StoreOverrun(InSlot& in, size_t lost) {
  std::lock_guard lock(in.registration);
  in.droppedBytes.fetch_add(lost);
  NoteLoss(in);
}

}  // namespace

void MidiOutHandler(int slot, OutEvent event) {
  if (!Valid(slot)) return;
  OutSlot& out = outSlots[slot];
  switch (event) {
    case OutEvent::Opened:
      out.busy.store(false);
      out.open.store(true);
      break;
    case OutEvent::Closed:  // nothing can be in flight on a closed device
      out.open.store(false);
      out.busy.store(false);
      break;
    case OutEvent::Done:
      out.busy.store(false);
      break;
  }
  MidiActivity::Signal();
}

void MidiInHandler(int slot, InEvent event, const uint8_t* data, size_t length,
                   uint32_t shortMessage) {
  if (!Valid(slot)) return;
  InSlot& in = inSlots[slot];
  bool wake = true;
  switch (event) {
    case InEvent::Opened:
      in.closing.store(false);
      in.open.store(true);
      break;
    case InEvent::Closed:
      in.open.store(false);
      break;
    case InEvent::LongData:
      wake = StoreLong(in, data, length);
      break;
    case InEvent::ShortData:
      StoreShort(in, shortMessage);
      break;
    case InEvent::Overrun:
      StoreOverrun(in, length);
      break;
  }
  if (wake) MidiActivity::Signal();
}

bool MIDIOUTISOPEN(int slot) { return Valid(slot) && outSlots[slot].open.load(); }

void MIDIOUTMARKBUSY(int slot) {
  if (Valid(slot)) outSlots[slot].busy.store(true);
}

bool MIDIOUTISBUSY(int slot) { return Valid(slot) && outSlots[slot].busy.load(); }

void MIDIINSETLBUFFER(ByteRing* ring, int slot) {
  if (!Valid(slot)) return;
  InSlot& in = inSlots[slot];
  std::lock_guard lock(in.registration);
  in.bytes = ring;
  in.droppedBytes.store(0);
  in.overflowing = false;
}

void MIDIINSETSBUFFER(ShortRing* ring, int slot) {
  if (!Valid(slot)) return;
  InSlot& in = inSlots[slot];
  std::lock_guard lock(in.registration);
  in.shorts = ring;
  in.droppedShorts.store(0);
}

void MIDIINSETHANDLE(ShortDataNotifier* notifier, int slot) {
  if (!Valid(slot)) return;
  InSlot& in = inSlots[slot];
  std::lock_guard lock(in.registration);
  in.notifier = notifier;
}

bool MIDIINISOPEN(int slot) { return Valid(slot) && inSlots[slot].open.load(); }

void MIDIINSETWAKELEVEL(int slot, uint32_t bytes) {
  if (Valid(slot)) inSlots[slot].wakeLevel.store(bytes);
}

void MIDIINREQUESTCLOSE(int slot) {
  if (Valid(slot)) inSlots[slot].closing.store(true);
}

void MIDIINUNPREPAREHEADERS() {
  // The one load on the path of every ReadByte.
  if (!logPending.load(std::memory_order_acquire) || !logPending.exchange(false)) return;
  for (InSlot& in : inSlots) {
    const uint32_t episodes = in.episodes.load();
    for (uint32_t n = in.episodesLogged.exchange(episodes); n != episodes; ++n) {
      diagnostics::DebugLine("MidiIn overflow: input lost (" +
                             std::to_string(in.droppedBytes.load()) + " bytes, " +
                             std::to_string(in.droppedShorts.load()) + " short messages so far)");
    }
  }
}

uint64_t MidiInDroppedBytes(int slot) {
  return Valid(slot) ? inSlots[slot].droppedBytes.load() : 0;
}

uint64_t MidiInDroppedShorts(int slot) {
  return Valid(slot) ? inSlots[slot].droppedShorts.load() : 0;
}

void ResetOutSlot(int slot) {
  if (!Valid(slot)) return;
  outSlots[slot].open.store(false);
  outSlots[slot].busy.store(false);
}

void ResetInSlot(int slot) {
  if (!Valid(slot)) return;
  inSlots[slot].open.store(false);
  inSlots[slot].closing.store(false);
  inSlots[slot].wakeLevel.store(1);
}

}  // namespace kelvora::midi::DoreRav
