#pragma once

#include <array>
#include <mutex>

#include "midi/DoreRav.h"

namespace kelvora::midi {

// The 16 "in use" flags of one port class; a slot is the port's key in DoreRav.
class SlotPool {
 public:
  // The lowest free slot, now marked used; -1 when all are used.
  int Take();
  void Release(int slot);

 private:
  std::mutex mutex_;
  std::array<bool, DoreRav::kSlots> used_{};
};

}  // namespace kelvora::midi
