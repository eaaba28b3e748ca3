#include "midi/Midiout.h"

#include <algorithm>

#include "diagnostics/Debugdevice.h"
#include "midi/DoreRav.h"
#include "midi/MidiSystem.h"
#include "midi/SlotPool.h"
#include "midi/Timeout.h"

namespace kelvora::midi {
namespace {

SlotPool& Pool() {
  static SlotPool pool;
  return pool;
}

constexpr uint8_t kEndOfExclusive = 0xF7;
constexpr int kNoDeviceSelected = 2;
constexpr int kOpenNotConfirmed = 2000;

}  // namespace

TMidiOut::TMidiOut() : slot_(Pool().Take()) {
  if (slot_ < 0) throw PortError("error: Midiout pool full");
  DoreRav::ResetOutSlot(slot_);
  // Only the bytes of the message being built are ever read.
  sysEx_ = std::make_unique_for_overwrite<uint8_t[]>(kSysExCapacity);
}

TMidiOut::~TMidiOut() {
  try {
    Close();
  } catch (const PortError& error) {
    // A destructor cannot raise; the failure still reaches the log.
    diagnostics::DebugLine(error.what());
  }
  Pool().Release(slot_);
}

void TMidiOut::SetChannel(int channel) {
  channel_ = static_cast<uint8_t>(std::clamp(channel, 1, 16) - 1);
}

bool TMidiOut::Open() {
  if (IsOpen()) return true;
  if (deviceId_ == -1) {
    errorCode_ = kNoDeviceSelected;
    return false;
  }
  MidiDriver& driver = CurrentDriver();
  if (const int result = driver.OpenOutput(deviceId_, slot_); result != 0) {
    errorCode_ = result;
    return false;
  }
  TTimeout timeout;
  timeout.Start(5);
  if (!timeout.WaitUntil([this] { return IsOpen(); })) {
    errorCode_ = kOpenNotConfirmed;
    // Given up rather than left half-open: nobody would ever close it.
    driver.CloseOutput(slot_);
    return false;
  }
  driver_ = &driver;
  return true;
}

void TMidiOut::Close() {
  if (!IsOpen()) return;
  if (IsBusy()) WaitWhileBusy();
  Driver().CloseOutput(slot_);
  driver_ = nullptr;
  TTimeout timeout;
  timeout.Start(5);
  if (!timeout.WaitUntil([this] { return !IsOpen(); })) {
    throw PortError("error: Unable to close Midiout");
  }
}

void TMidiOut::SendByte(uint8_t b) {
  if (!IsOpen()) return;
  sysEx_[sysExLength_++] = b;
  if (sysExLength_ < kSysExCapacity && b != kEndOfExclusive) return;
  // Marked before the send, so that the driver's "done" cannot arrive before the mark.
  DoreRav::MIDIOUTMARKBUSY(slot_);
  Driver().SendLong(slot_, sysEx_.get(), sysExLength_);
  // The driver holds its own copy. The buffer starts over even if the wait below fails, so a
  // message that timed out is never sent again in front of the next one, and a full buffer
  // is never written past.
  sysExLength_ = 0;
  if (IsBusy()) WaitWhileBusy();
}

int TMidiOut::NoteOn(int key, int velocity) { return SendShort(0x90 + channel_, key, velocity); }

int TMidiOut::NoteOff(int key) { return SendShort(0x90 + channel_, key, 0); }

int TMidiOut::ProgramChange(int program) { return SendShort(0xC0 + channel_, program, 0); }

bool TMidiOut::IsOpen() { return DoreRav::MIDIOUTISOPEN(slot_); }

bool TMidiOut::IsBusy() { return DoreRav::MIDIOUTISBUSY(slot_); }

MidiDriver& TMidiOut::Driver() {
  // A slot reported closed (also by a driver shutting down) no longer belongs to its driver.
  if (!DoreRav::MIDIOUTISOPEN(slot_)) driver_ = nullptr;
  return driver_ ? *driver_ : CurrentDriver();
}

void TMidiOut::WaitWhileBusy() {
  TTimeout timeout;
  timeout.Start(20);
  if (!timeout.WaitUntil([this] { return !IsBusy(); })) {
    throw PortError("error: Midiout takes too long to send data");
  }
}

int TMidiOut::SendShort(int status, int first, int second) {
  // Status, data 1, data 2 from the least significant byte up, each taken as a byte.
  const uint32_t packed = static_cast<uint8_t>(status) |
                          static_cast<uint32_t>(static_cast<uint8_t>(first)) << 8 |
                          static_cast<uint32_t>(static_cast<uint8_t>(second)) << 16;
  return Driver().SendShort(slot_, packed);
}

}  // namespace kelvora::midi
