#include "ScriptCable.h"

#include <algorithm>

#include "midi/DoreRav.h"
#include "midi/MidiSystem.h"

namespace kelvora::fuzz {

using midi::DoreRav::MidiInHandler;
using midi::DoreRav::MidiOutHandler;

ScriptCable::~ScriptCable() {
  if (outSlot_ >= 0) MidiOutHandler(outSlot_, midi::OutEvent::Closed);
  if (inSlot_ >= 0) MidiInHandler(inSlot_, midi::InEvent::Closed);
}

void ScriptCable::SendToProgram(const uint8_t* data, size_t length) {
  for (size_t offset = 0; offset < length; offset += kFragmentBytes) {
    if (inSlot_ < 0 || !inStarted_) return;
    MidiInHandler(inSlot_, midi::InEvent::LongData, data + offset,
                  std::min(kFragmentBytes, length - offset));
  }
}

int ScriptCable::OpenOutput(int device, int slot) {
  if (device != 0) return midi::kErrorBadDevice;
  if (outSlot_ >= 0) return midi::kErrorAllocated;
  outSlot_ = slot;
  MidiOutHandler(slot, midi::OutEvent::Opened);
  return 0;
}

void ScriptCable::CloseOutput(int slot) {
  if (slot != outSlot_ || slot < 0) return;
  outSlot_ = -1;
  MidiOutHandler(slot, midi::OutEvent::Closed);
}

void ScriptCable::SendLong(int slot, const uint8_t* data, size_t length) {
  if (slot != outSlot_ || slot < 0 || !data) return;
  if (peer_) peer_->OnLongMessage(data, length);
  MidiOutHandler(slot, midi::OutEvent::Done);
}

int ScriptCable::SendShort(int slot, uint32_t packed) {
  if (slot != outSlot_ || slot < 0) return midi::kErrorInvalidHandle;
  if (peer_) peer_->OnShortMessage(packed);
  return 0;
}

int ScriptCable::OpenInput(int device, int slot) {
  if (device != 0) return midi::kErrorBadDevice;
  if (inSlot_ >= 0) return midi::kErrorAllocated;
  inSlot_ = slot;
  inStarted_ = false;
  MidiInHandler(slot, midi::InEvent::Opened);
  return 0;
}

void ScriptCable::StartInput(int slot) {
  if (slot == inSlot_ && slot >= 0) inStarted_ = true;
}

void ScriptCable::StopInput(int slot) {
  if (slot == inSlot_) inStarted_ = false;
}

void ScriptCable::ResetInput(int slot) {
  if (slot == inSlot_) inStarted_ = false;
}

void ScriptCable::CloseInput(int slot) {
  if (slot != inSlot_ || slot < 0) return;
  inSlot_ = -1;
  inStarted_ = false;
  MidiInHandler(slot, midi::InEvent::Closed);
}

}  // namespace kelvora::fuzz
