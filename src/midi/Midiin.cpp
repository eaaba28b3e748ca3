#include "midi/Midiin.h"

#include "diagnostics/Debugdevice.h"
#include "midi/DoreRav.h"
#include "midi/MidiSystem.h"
#include "midi/Rings.h"
#include "midi/ShortDataNotifier.h"
#include "midi/SlotPool.h"
#include "midi/Timeout.h"

namespace kelvora::midi {
namespace {

SlotPool& Pool() {
  static SlotPool pool;
  return pool;
}

constexpr int kNoDeviceSelected = 2;
constexpr int kOpenNotConfirmed = 2000;

}  // namespace

TMidiIn::TMidiIn() : slot_(Pool().Take()) {
  if (slot_ < 0) throw PortError("error: Midiin pool full");
  DoreRav::ResetInSlot(slot_);
  byteRing_ = std::make_unique_for_overwrite<ByteRing>();
  byteRing_->Reset();
  DoreRav::MIDIINSETLBUFFER(byteRing_.get(), slot_);
  shortRing_ = std::make_unique_for_overwrite<ShortRing>();
  shortRing_->Reset();
  DoreRav::MIDIINSETSBUFFER(shortRing_.get(), slot_);
  notifier_ = std::make_unique<ShortDataNotifier>([this] { DeliverShortData(); });
  DoreRav::MIDIINSETHANDLE(notifier_.get(), slot_);
}

TMidiIn::~TMidiIn() {
  try {
    Close();
  } catch (const PortError& error) {
    // A destructor cannot raise; the failure still reaches the log.
    diagnostics::DebugLine(error.what());
  }
  // DoreRav forgets each ring and the notifier before they are freed.
  DoreRav::MIDIINSETLBUFFER(nullptr, slot_);
  DoreRav::MIDIINSETSBUFFER(nullptr, slot_);
  DoreRav::MIDIINSETHANDLE(nullptr, slot_);
  notifier_.reset();
  shortRing_.reset();
  byteRing_.reset();
  Pool().Release(slot_);
}

void TMidiIn::SetOnShortData(std::function<void(TMidiIn&)> handler) {
  onShortData_ = std::move(handler);
}

bool TMidiIn::Open() {
  DoreRav::MIDIINUNPREPAREHEADERS();
  if (IsOpen()) return true;
  if (deviceId_ == -1) {
    errorCode_ = kNoDeviceSelected;
    return false;
  }
  MidiDriver& driver = CurrentDriver();
  if (const int result = driver.OpenInput(deviceId_, slot_); result != 0) {
    errorCode_ = result;
    return false;
  }
  TTimeout timeout;
  timeout.Start(5);
  if (!timeout.WaitUntil([this] { return DoreRav::MIDIINISOPEN(slot_); })) {
    errorCode_ = kOpenNotConfirmed;
    // Given up rather than left half-open: nobody would ever close it.
    driver.CloseInput(slot_);
    return false;
  }
  driver_ = &driver;
  driver.StartInput(slot_);
  return true;
}

void TMidiIn::Close() {
  DoreRav::MIDIINUNPREPAREHEADERS();
  if (!IsOpen()) return;
  DoreRav::MIDIINREQUESTCLOSE(slot_);
  MidiDriver& driver = Driver();
  driver.StopInput(slot_);
  driver.ResetInput(slot_);
  DoreRav::MIDIINUNPREPAREHEADERS();
  driver.CloseInput(slot_);
  driver_ = nullptr;
  TTimeout timeout;
  timeout.Start(5);
  if (!timeout.WaitUntil([this] { return !DoreRav::MIDIINISOPEN(slot_); })) {
    throw PortError("error: Unable to close Midiin");
  }
  DoreRav::MIDIINUNPREPAREHEADERS();
}

void TMidiIn::Flush() {
  DoreRav::MIDIINUNPREPAREHEADERS();
  byteRing_->Discard();
}

unsigned TMidiIn::BytesAvailable() {
  DoreRav::MIDIINUNPREPAREHEADERS();
  return static_cast<unsigned>(byteRing_->Count.load(std::memory_order_acquire));
}

int TMidiIn::ShortsAvailable() {
  DoreRav::MIDIINUNPREPAREHEADERS();
  return shortRing_->Count.load(std::memory_order_acquire);
}

bool TMidiIn::ReadByte(uint8_t& b) {
  // The session decodes whole blocks through here: a byte already waiting costs no clock
  // read, no lock and no system call.
  DoreRav::MIDIINUNPREPAREHEADERS();
  if (byteRing_->Take(b)) return true;
  return WaitForByte() && byteRing_->Take(b);
}

bool TMidiIn::PeekByte(uint8_t& b) {
  DoreRav::MIDIINUNPREPAREHEADERS();
  return byteRing_->Peek(b) || (WaitForByte() && byteRing_->Peek(b));
}

// Up to the port's 10 s for a byte in the ring.
bool TMidiIn::WaitForByte() {
  TTimeout timeout;
  timeout.Start(10);
  return timeout.WaitUntil(
      [this] { return byteRing_->Count.load(std::memory_order_acquire) != 0; });
}

bool TMidiIn::ReadShort(int& status, int& first, int& second) {
  DoreRav::MIDIINUNPREPAREHEADERS();
  uint32_t message = 0;
  if (!shortRing_->Take(message)) {
    TTimeout timeout;
    timeout.Start(10);
    const bool arrived = timeout.WaitUntil(
        [this] { return shortRing_->Count.load(std::memory_order_acquire) != 0; });
    if (!arrived || !shortRing_->Take(message)) return false;
  }
  status = static_cast<int>(message & 0xFF);
  first = static_cast<int>((message >> 8) & 0xFF);
  second = static_cast<int>((message >> 16) & 0xFF);
  return true;
}

bool TMidiIn::ExpectByte(uint8_t expected) {
  DoreRav::MIDIINUNPREPAREHEADERS();
  uint8_t b = 0;
  return ReadByte(b) && b == expected;
}

bool TMidiIn::IsOpen() {
  DoreRav::MIDIINUNPREPAREHEADERS();
  return DoreRav::MIDIINISOPEN(slot_);
}

bool TMidiIn::WaitForBytes(unsigned count, uint32_t maxMs) {
  DoreRav::MIDIINUNPREPAREHEADERS();
  if (count > ByteRing::kCapacity) return false;
  DoreRav::MIDIINSETWAKELEVEL(slot_, count);
  TTimeout timeout;
  timeout.StartMs(maxMs);
  // Read after the level is set (sequentially consistent): see DoreRav's StoreLong.
  const bool arrived = timeout.WaitUntil(
      [this, count] { return static_cast<unsigned>(byteRing_->Count.load()) >= count; });
  DoreRav::MIDIINSETWAKELEVEL(slot_, 1);
  return arrived;
}

uint64_t TMidiIn::DroppedBytes() const { return DoreRav::MidiInDroppedBytes(slot_); }

MidiDriver& TMidiIn::Driver() {
  // A slot reported closed (also by a driver shutting down) no longer belongs to its driver.
  if (!DoreRav::MIDIINISOPEN(slot_)) driver_ = nullptr;
  return driver_ ? *driver_ : CurrentDriver();
}

void TMidiIn::DeliverShortData() {
  DoreRav::MIDIINUNPREPAREHEADERS();
  if (onShortData_) onShortData_(*this);
}

}  // namespace kelvora::midi
