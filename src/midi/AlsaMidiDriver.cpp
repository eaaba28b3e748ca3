#include "midi/AlsaMidiDriver.h"

#include <cerrno>
#include <utility>

#include "diagnostics/Debugdevice.h"
#include "midi/AlsaSequencer.h"

namespace kelvora::midi {

namespace {

bool ValidSlot(int slot) { return slot >= 0 && slot < DoreRav::kSlots; }

AlsaMidiDriver::Reports CompanionLibrary() {
  return {[](int slot, OutEvent event) { DoreRav::MidiOutHandler(slot, event); },
          [](int slot, InEvent event, const uint8_t* data, size_t length, uint32_t message) {
            DoreRav::MidiInHandler(slot, event, data, length, message);
          }};
}

}  // namespace

AlsaMidiDriver::AlsaMidiDriver() : AlsaMidiDriver(CompanionLibrary()) {}

AlsaMidiDriver::AlsaMidiDriver(Reports reports) : reports_(std::move(reports)) {}

AlsaMidiDriver::~AlsaMidiDriver() {
  for (int slot = 0; slot < DoreRav::kSlots; ++slot) {
    CloseOutput(slot);
    CloseInput(slot);
  }
}

int AlsaMidiDriver::InputCount() {
  std::lock_guard lock(mutex_);
  inputs_ = Scan(AlsaDirection::Input);
  return static_cast<int>(inputs_.size());
}

std::string AlsaMidiDriver::InputName(int device) { return NameOf(AlsaDirection::Input, device); }

int AlsaMidiDriver::OutputCount() {
  std::lock_guard lock(mutex_);
  outputs_ = Scan(AlsaDirection::Output);
  return static_cast<int>(outputs_.size());
}

std::string AlsaMidiDriver::OutputName(int device) { return NameOf(AlsaDirection::Output, device); }

std::vector<DeviceName> AlsaMidiDriver::InputDevices() { return Relist(AlsaDirection::Input); }

std::vector<DeviceName> AlsaMidiDriver::OutputDevices() { return Relist(AlsaDirection::Output); }

std::vector<DeviceName> AlsaMidiDriver::Relist(AlsaDirection direction) {
  std::lock_guard lock(mutex_);
  std::vector<AlsaPortInfo>& listed = Listed(direction);
  listed = Scan(direction);
  std::vector<DeviceName> names;
  for (const AlsaPortInfo& port : listed) names.push_back(port.uncut);
  return names;
}

int AlsaMidiDriver::OpenOutput(int device, int slot) {
  if (!ValidSlot(slot)) return EINVAL;
  {
    std::lock_guard lock(mutex_);
    if (outputSlots_[slot]) return EBUSY;
    AlsaPortInfo port;
    if (const int error = Locate(AlsaDirection::Output, device, port)) return error;
    auto connection = std::make_unique<AlsaOutputConnection>(
        port.name, [this, slot](OutEvent event) { reports_.output(slot, event); });
    if (const int error = connection->Open({port.client, port.port})) return error;
    outputSlots_[slot] = std::move(connection);
  }
  reports_.output(slot, OutEvent::Opened);
  return 0;
}

void AlsaMidiDriver::CloseOutput(int slot) {
  if (!ValidSlot(slot)) return;
  std::unique_ptr<AlsaOutputConnection> closing;
  {
    std::lock_guard lock(mutex_);
    closing = std::move(outputSlots_[slot]);
  }
  if (!closing) return;
  closing.reset();
  reports_.output(slot, OutEvent::Closed);
}

void AlsaMidiDriver::SendLong(int slot, const uint8_t* data, size_t length) {
  std::lock_guard lock(mutex_);
  if (ValidSlot(slot) && outputSlots_[slot] && (data || length == 0)) {
    outputSlots_[slot]->SendLong(data, length);
    return;
  }
  diagnostics::DebugLine("ALSA: " + std::to_string(length) + " bytes not sent to output slot " +
                         std::to_string(slot));
}

int AlsaMidiDriver::SendShort(int slot, uint32_t packed) {
  std::lock_guard lock(mutex_);
  if (!ValidSlot(slot) || !outputSlots_[slot]) return EBADF;
  return outputSlots_[slot]->SendShort(packed);
}

int AlsaMidiDriver::OpenInput(int device, int slot) {
  if (!ValidSlot(slot)) return EINVAL;
  {
    std::lock_guard lock(mutex_);
    if (inputSlots_[slot]) return EBUSY;
    AlsaPortInfo port;
    if (const int error = Locate(AlsaDirection::Input, device, port)) return error;
    auto connection = std::make_unique<AlsaInputConnection>(
        port.name,
        [this, slot](InEvent event, const uint8_t* data, size_t length, uint32_t message) {
          reports_.input(slot, event, data, length, message);
        });
    if (const int error = connection->Open({port.client, port.port})) return error;
    inputSlots_[slot] = std::move(connection);
  }
  reports_.input(slot, InEvent::Opened, nullptr, 0, 0);
  return 0;
}

void AlsaMidiDriver::StartInput(int slot) {
  std::lock_guard lock(mutex_);
  if (AlsaInputConnection* input = Input(slot)) input->Start();
}

void AlsaMidiDriver::StopInput(int slot) {
  std::lock_guard lock(mutex_);
  if (AlsaInputConnection* input = Input(slot)) input->Stop();
}

// Input is handed on as it arrives, so no partly filled buffer waits to be returned: a reset
// only stops the reports.
void AlsaMidiDriver::ResetInput(int slot) { StopInput(slot); }

void AlsaMidiDriver::CloseInput(int slot) {
  if (!ValidSlot(slot)) return;
  std::unique_ptr<AlsaInputConnection> closing;
  {
    std::lock_guard lock(mutex_);
    closing = std::move(inputSlots_[slot]);
  }
  if (!closing) return;
  closing.reset();
  reports_.input(slot, InEvent::Closed, nullptr, 0, 0);
}

std::vector<AlsaPortInfo>& AlsaMidiDriver::Listed(AlsaDirection direction) {
  return direction == AlsaDirection::Input ? inputs_ : outputs_;
}

std::vector<AlsaPortInfo> AlsaMidiDriver::Scan(AlsaDirection direction) {
  AlsaSequencer probe;
  if (probe.Open("Kelvora") != 0) return {};
  return AlsaPortList::Scan(probe.Handle(), direction, OwnClients());
}

std::string AlsaMidiDriver::NameOf(AlsaDirection direction, int device) {
  std::lock_guard lock(mutex_);
  std::vector<AlsaPortInfo>& listed = Listed(direction);
  if (listed.empty()) listed = Scan(direction);
  if (device < 0 || static_cast<size_t>(device) >= listed.size()) return {};
  return listed[static_cast<size_t>(device)].name;
}

// The device as numbered in the last list, where it is now. Lists first when nothing has
// been listed yet (a device number kept from an earlier run).
int AlsaMidiDriver::Locate(AlsaDirection direction, int device, AlsaPortInfo& found) {
  AlsaSequencer probe;
  if (const int error = probe.Open("Kelvora")) return error;
  const std::vector<AlsaPortInfo> now = AlsaPortList::Scan(probe.Handle(), direction, OwnClients());
  std::vector<AlsaPortInfo>& listed = Listed(direction);
  if (listed.empty()) listed = now;
  if (device < 0) return ENODEV;
  const auto port = AlsaPortList::Find(now, listed, static_cast<size_t>(device));
  if (!port) return ENODEV;
  found = *port;
  return 0;
}

std::vector<int> AlsaMidiDriver::OwnClients() const {
  std::vector<int> clients;
  for (const auto& output : outputSlots_) {
    if (output) clients.push_back(output->ClientId());
  }
  for (const auto& input : inputSlots_) {
    if (input) clients.push_back(input->ClientId());
  }
  return clients;
}

AlsaInputConnection* AlsaMidiDriver::Input(int slot) {
  return ValidSlot(slot) ? inputSlots_[slot].get() : nullptr;
}

}  // namespace kelvora::midi
