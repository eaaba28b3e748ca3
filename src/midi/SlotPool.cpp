#include "midi/SlotPool.h"

namespace kelvora::midi {

int SlotPool::Take() {
  std::lock_guard lock(mutex_);
  for (int slot = 0; slot < DoreRav::kSlots; ++slot) {
    if (!used_[slot]) {
      used_[slot] = true;
      return slot;
    }
  }
  return -1;
}

void SlotPool::Release(int slot) {
  std::lock_guard lock(mutex_);
  if (slot >= 0 && slot < DoreRav::kSlots) used_[slot] = false;
}

}  // namespace kelvora::midi
