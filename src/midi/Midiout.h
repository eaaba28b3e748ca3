#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "midi/MidiDriver.h"
#include "midi/PortError.h"

namespace kelvora::midi {

// The port every byte bound for the sampler leaves through. SysEx is collected byte by byte
// and handed to the driver as one long message when 0xF7 arrives (or the 32768-byte buffer is
// full); the send is synchronous. Note On, Note Off and Program Change go out on `Channel`.
// Open/closed and busy are DoreRav's flags for the port's slot, never fields of the object.
// At most 16 ports exist at a time. Used from one thread.
class TMidiOut {
 public:
  static constexpr size_t kSysExCapacity = 32768;

  TMidiOut();  // throws PortError "error: Midiout pool full"
  ~TMidiOut();
  TMidiOut(const TMidiOut&) = delete;
  TMidiOut& operator=(const TMidiOut&) = delete;

  int DeviceID() const { return deviceId_; }  // -1: no device selected
  void SetDeviceID(int device) { deviceId_ = device; }
  // After a failed Open: 2 no device selected, the driver's code, or 2000 not confirmed in 5 s.
  int ErrorCode() const { return errorCode_; }
  int Channel() const { return channel_ + 1; }
  void SetChannel(int channel);  // clamped to 1..16

  bool Open();
  // Throws PortError when a message is still in flight after 20 s, or the close is not
  // confirmed within 5 s.
  void Close();
  // Dropped while the port is closed. Throws PortError when the message is not sent in 20 s.
  void SendByte(uint8_t b);

  // The driver's result; data bytes are taken as bytes, not masked to 7 bits.
  int NoteOn(int key, int velocity);
  int NoteOff(int key);  // a Note On with velocity 0
  int ProgramChange(int program);

  bool IsOpen();
  bool IsBusy();
  int Slot() const { return slot_; }

 private:
  MidiDriver& Driver();
  void WaitWhileBusy();
  int SendShort(int status, int first, int second);

  int slot_;
  int deviceId_ = 0;
  int errorCode_ = 0;
  uint8_t channel_ = 0;  // 0..15
  std::unique_ptr<uint8_t[]> sysEx_;
  size_t sysExLength_ = 0;
  MidiDriver* driver_ = nullptr;  // the driver the slot was opened on
};

}  // namespace kelvora::midi
