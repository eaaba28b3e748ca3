#include "midi/DeviceList.h"

#include <algorithm>

#include "midi/MidiSystem.h"

namespace kelvora::midi {

DeviceList::DeviceList(std::initializer_list<MidiDriver*> backends)
    : DeviceList(std::vector<MidiDriver*>(backends)) {}

DeviceList::DeviceList(std::vector<MidiDriver*> backends) : backends_(std::move(backends)) {
  std::erase(backends_, nullptr);
}

int DeviceList::InputCount() { return List(true); }

int DeviceList::OutputCount() { return List(false); }

int DeviceList::List(bool input) {
  std::vector<int> counts;
  int total = 0;
  for (MidiDriver* backend : backends_) {
    counts.push_back(input ? backend->InputCount() : backend->OutputCount());
    total += counts.back();
  }
  std::lock_guard lock(mutex_);
  (input ? inputCounts_ : outputCounts_) = std::move(counts);
  return total;
}

std::string DeviceList::InputName(int device) {
  const Location at = Locate(device, true);
  return at.backend ? at.backend->InputName(at.device) : std::string();
}

std::string DeviceList::OutputName(int device) {
  const Location at = Locate(device, false);
  return at.backend ? at.backend->OutputName(at.device) : std::string();
}

int DeviceList::OpenOutput(int device, int slot) {
  const Location at = Locate(device, false);
  if (!at.backend) return kErrorBadDevice;
  const int result = at.backend->OpenOutput(at.device, slot);
  if (result == 0) SetOwner(outOwners_, slot, at.backend);
  return result;
}

void DeviceList::CloseOutput(int slot) {
  if (MidiDriver* owner = Owner(outOwners_, slot)) {
    owner->CloseOutput(slot);
    SetOwner(outOwners_, slot, nullptr);
  }
}

void DeviceList::SendLong(int slot, const uint8_t* data, size_t length) {
  if (MidiDriver* owner = Owner(outOwners_, slot)) owner->SendLong(slot, data, length);
}

int DeviceList::SendShort(int slot, uint32_t packed) {
  MidiDriver* owner = Owner(outOwners_, slot);
  return owner ? owner->SendShort(slot, packed) : kErrorInvalidHandle;
}

int DeviceList::OpenInput(int device, int slot) {
  const Location at = Locate(device, true);
  if (!at.backend) return kErrorBadDevice;
  const int result = at.backend->OpenInput(at.device, slot);
  if (result == 0) SetOwner(inOwners_, slot, at.backend);
  return result;
}

void DeviceList::StartInput(int slot) {
  if (MidiDriver* owner = Owner(inOwners_, slot)) owner->StartInput(slot);
}

void DeviceList::StopInput(int slot) {
  if (MidiDriver* owner = Owner(inOwners_, slot)) owner->StopInput(slot);
}

void DeviceList::ResetInput(int slot) {
  if (MidiDriver* owner = Owner(inOwners_, slot)) owner->ResetInput(slot);
}

void DeviceList::CloseInput(int slot) {
  if (MidiDriver* owner = Owner(inOwners_, slot)) {
    owner->CloseInput(slot);
    SetOwner(inOwners_, slot, nullptr);
  }
}

// A number kept from before any listing (the settings of an earlier run) is taken as the
// devices are listed now.
DeviceList::Location DeviceList::Locate(int device, bool input) {
  if (device < 0) return {};
  std::vector<int> counts;
  {
    std::lock_guard lock(mutex_);
    counts = input ? inputCounts_ : outputCounts_;
  }
  if (counts.size() != backends_.size()) {
    List(input);
    std::lock_guard lock(mutex_);
    counts = input ? inputCounts_ : outputCounts_;
  }
  for (size_t i = 0; i < backends_.size(); ++i) {
    if (device < counts[i]) return {backends_[i], device};
    device -= counts[i];
  }
  return {};
}

MidiDriver* DeviceList::Owner(const Owners& owners, int slot) {
  if (slot < 0 || slot >= DoreRav::kSlots) return nullptr;
  std::lock_guard lock(mutex_);
  return owners[slot];
}

void DeviceList::SetOwner(Owners& owners, int slot, MidiDriver* backend) {
  if (slot < 0 || slot >= DoreRav::kSlots) return;
  std::lock_guard lock(mutex_);
  owners[slot] = backend;
}

}  // namespace kelvora::midi
