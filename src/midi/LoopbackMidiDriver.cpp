#include "midi/LoopbackMidiDriver.h"

#include <algorithm>

#include "midi/DoreRav.h"
#include "midi/MidiSystem.h"

namespace kelvora::midi {
namespace {

constexpr size_t kMaxNameLength = 31;

// Bytes a short message takes on the wire, from its status byte.
size_t ShortMessageLength(uint32_t packed) {
  const uint8_t status = packed & 0xFF;
  switch (status & 0xF0) {
    case 0xC0:
    case 0xD0:
      return 2;
    case 0xF0:
      return status == 0xF2 ? 3 : (status == 0xF1 || status == 0xF3) ? 2 : 1;
    default:
      return 3;
  }
}

}  // namespace

LoopbackMidiDriver::LoopbackMidiDriver(std::string name, size_t fragmentSize)
    : name_(name.substr(0, kMaxNameLength)), fragmentSize_(std::max<size_t>(fragmentSize, 1)) {}

LoopbackMidiDriver::~LoopbackMidiDriver() {
  // The peer's direction first: a peer callback may still be queueing input.
  toPeer_.Stop();
  toProgram_.Stop();
  // Ports still open on this driver see their slots closed and stop calling it.
  if (outSlot_ >= 0) DoreRav::MidiOutHandler(outSlot_, OutEvent::Closed);
  if (inSlot_ >= 0) DoreRav::MidiInHandler(inSlot_, InEvent::Closed);
}

void LoopbackMidiDriver::AttachPeer(LoopbackPeer* peer) {
  std::lock_guard lock(peerMutex_);
  peer_ = peer;
}

void LoopbackMidiDriver::SendToProgram(const uint8_t* data, size_t length) {
  if (!data || length == 0) return;
  std::vector<uint8_t> bytes(data, data + length);
  uint64_t generation;
  {
    std::lock_guard lock(mutex_);
    generation = generation_;
  }
  toProgram_.Post(
      [this, bytes = std::move(bytes), generation] { DeliverToProgram(bytes, generation); });
}

void LoopbackMidiDriver::SendShortToProgram(uint32_t packed) {
  uint64_t generation;
  {
    std::lock_guard lock(mutex_);
    generation = generation_;
  }
  toProgram_.Post([this, packed, generation] { DeliverShortToProgram(packed, generation); });
}

void LoopbackMidiDriver::SetFragmentSize(size_t bytes) {
  fragmentSize_.store(std::max<size_t>(bytes, 1));
}

void LoopbackMidiDriver::SetWireRate(unsigned bytesPerSecond) { wireRate_.store(bytesPerSecond); }

void LoopbackMidiDriver::DropByte(size_t index) {
  std::lock_guard lock(mutex_);
  drops_.insert(delivered_ + index);
}

void LoopbackMidiDriver::InjectOverrun(size_t bytes) {
  std::lock_guard lock(mutex_);
  overrunLeft_ += bytes;
}

std::vector<uint8_t> LoopbackMidiDriver::ReceivedFromProgram() {
  std::lock_guard lock(mutex_);
  return received_;
}

void LoopbackMidiDriver::WaitIdle() { tracker_.WaitZero(); }

std::string LoopbackMidiDriver::InputName(int device) {
  return device == 0 ? name_ : std::string();
}

std::string LoopbackMidiDriver::OutputName(int device) {
  return device == 0 ? name_ : std::string();
}

int LoopbackMidiDriver::OpenOutput(int device, int slot) {
  if (device != 0) return kErrorBadDevice;
  {
    std::lock_guard lock(mutex_);
    if (outSlot_ >= 0) return kErrorAllocated;
    outSlot_ = slot;
  }
  toPeer_.Post([slot] { DoreRav::MidiOutHandler(slot, OutEvent::Opened); });
  return 0;
}

void LoopbackMidiDriver::CloseOutput(int slot) {
  {
    std::lock_guard lock(mutex_);
    if (slot != outSlot_ || slot < 0) return;
    outSlot_ = -1;
  }
  toPeer_.Post([slot] { DoreRav::MidiOutHandler(slot, OutEvent::Closed); });
}

void LoopbackMidiDriver::SetRecording(bool on) {
  std::lock_guard lock(mutex_);
  recording_ = on;
  if (!on) std::vector<uint8_t>().swap(received_);
}

void LoopbackMidiDriver::SendLong(int slot, const uint8_t* data, size_t length) {
  std::vector<uint8_t> message;
  {
    std::lock_guard lock(mutex_);
    if (slot != outSlot_ || slot < 0 || !data) return;
    message.assign(data, data + length);
    if (recording_) received_.insert(received_.end(), message.begin(), message.end());
  }
  toPeer_.Post([this, slot, message = std::move(message)] { DeliverToPeer(slot, message); });
}

int LoopbackMidiDriver::SendShort(int slot, uint32_t packed) {
  {
    std::lock_guard lock(mutex_);
    if (slot != outSlot_ || slot < 0) return kErrorInvalidHandle;
  }
  toPeer_.Post([this, packed] {
    if (!toPeer_.Pace(ShortMessageLength(packed), wireRate_.load())) return;
    std::lock_guard lock(peerMutex_);
    if (peer_) peer_->OnShortMessage(packed);
  });
  return 0;
}

int LoopbackMidiDriver::OpenInput(int device, int slot) {
  if (device != 0) return kErrorBadDevice;
  {
    std::lock_guard lock(mutex_);
    if (inSlot_ >= 0) return kErrorAllocated;
    inSlot_ = slot;
    inStarted_ = false;
  }
  toProgram_.Post([slot] { DoreRav::MidiInHandler(slot, InEvent::Opened); });
  return 0;
}

void LoopbackMidiDriver::StartInput(int slot) {
  std::lock_guard lock(mutex_);
  if (slot == inSlot_ && slot >= 0) inStarted_ = true;
}

void LoopbackMidiDriver::StopInput(int slot) {
  std::lock_guard lock(mutex_);
  if (slot == inSlot_) inStarted_ = false;
}

void LoopbackMidiDriver::ResetInput(int slot) {
  std::lock_guard lock(mutex_);
  if (slot != inSlot_ || slot < 0) return;
  inStarted_ = false;
  ++generation_;
}

void LoopbackMidiDriver::CloseInput(int slot) {
  {
    std::lock_guard lock(mutex_);
    if (slot != inSlot_ || slot < 0) return;
    inSlot_ = -1;
    inStarted_ = false;
    ++generation_;
  }
  toProgram_.Post([slot] { DoreRav::MidiInHandler(slot, InEvent::Closed); });
}

void LoopbackMidiDriver::DeliverToProgram(const std::vector<uint8_t>& bytes, uint64_t generation) {
  for (size_t offset = 0; offset < bytes.size();) {
    const size_t length = std::min(fragmentSize_.load(), bytes.size() - offset);
    if (!toProgram_.Pace(length, wireRate_.load())) return;
    const Fragment fragment = TakeFragment(bytes.data() + offset, length, generation);
    offset += length;
    if (fragment.slot < 0) continue;
    if (fragment.lost > 0) {
      DoreRav::MidiInHandler(fragment.slot, InEvent::Overrun, nullptr, fragment.lost);
    }
    if (!fragment.kept.empty()) {
      DoreRav::MidiInHandler(fragment.slot, InEvent::LongData, fragment.kept.data(),
                             fragment.kept.size());
    }
  }
}

LoopbackMidiDriver::Fragment LoopbackMidiDriver::TakeFragment(const uint8_t* data, size_t length,
                                                              uint64_t generation) {
  Fragment fragment;
  std::lock_guard lock(mutex_);
  if (generation != generation_ || !inStarted_ || inSlot_ < 0) return fragment;
  fragment.slot = inSlot_;
  fragment.kept.reserve(length);
  for (size_t i = 0; i < length; ++i) {
    const uint64_t index = delivered_++;
    if (overrunLeft_ > 0) {
      --overrunLeft_;
      ++fragment.lost;
    } else if (drops_.erase(index) == 0) {
      fragment.kept.push_back(data[i]);
    }
  }
  return fragment;
}

void LoopbackMidiDriver::DeliverShortToProgram(uint32_t packed, uint64_t generation) {
  if (!toProgram_.Pace(ShortMessageLength(packed), wireRate_.load())) return;
  int slot;
  {
    std::lock_guard lock(mutex_);
    if (generation != generation_ || !inStarted_ || inSlot_ < 0) return;
    slot = inSlot_;
  }
  DoreRav::MidiInHandler(slot, InEvent::ShortData, nullptr, 0, packed);
}

void LoopbackMidiDriver::DeliverToPeer(int slot, const std::vector<uint8_t>& message) {
  if (!toPeer_.Pace(message.size(), wireRate_.load())) return;
  {
    std::lock_guard lock(peerMutex_);
    if (peer_) peer_->OnLongMessage(message.data(), message.size());
  }
  DoreRav::MidiOutHandler(slot, OutEvent::Done);
}

}  // namespace kelvora::midi
