#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "midi/MidiDriver.h"
#include "midi/PortError.h"

namespace kelvora::midi {

struct ByteRing;
struct ShortRing;
class ShortDataNotifier;

// The port every byte from the sampler arrives through. DoreRav copies incoming SysEx into the
// port's byte ring and short messages into its short ring from the driver's thread; the
// program pulls them with ReadByte / ReadShort, which wait up to 10 s for data. OnShortData
// runs on the thread that created the port, from its event loop, after short messages were
// stored. At most 16 ports exist at a time. Used from one thread.
class TMidiIn {
 public:
  TMidiIn();  // throws PortError "error: Midiin pool full"
  ~TMidiIn();
  TMidiIn(const TMidiIn&) = delete;
  TMidiIn& operator=(const TMidiIn&) = delete;

  int DeviceID() const { return deviceId_; }  // -1: no device selected
  void SetDeviceID(int device) { deviceId_ = device; }
  // After a failed Open: 2 no device selected, the driver's code, or 2000 not confirmed in 5 s.
  int ErrorCode() const { return errorCode_; }
  void SetOnShortData(std::function<void(TMidiIn&)> handler);

  bool Open();
  void Close();  // throws PortError "error: Unable to close Midiin" when not confirmed in 5 s
  void Flush();  // empties the byte ring; short messages stay
  unsigned BytesAvailable();
  int ShortsAvailable();
  // false when nothing arrived within 10 s; a byte that comes later stays in the ring.
  bool ReadByte(uint8_t& b);
  // The byte ReadByte would return next, left in the ring; waits as ReadByte does.
  bool PeekByte(uint8_t& b);
  bool ReadShort(int& status, int& first, int& second);
  // Consumes the next byte even when it is not the one expected.
  bool ExpectByte(uint8_t expected);
  bool IsOpen();

  // Blocks until `count` bytes wait in the byte ring or `maxMs` passed; false at once when
  // `count` exceeds what the ring can hold.
  bool WaitForBytes(unsigned count, uint32_t maxMs);
  // Input lost since the port was created: bytes that found the ring full plus the driver's
  // reported overruns.
  uint64_t DroppedBytes() const;
  int Slot() const { return slot_; }

 private:
  MidiDriver& Driver();
  bool WaitForByte();
  void DeliverShortData();

  int slot_;
  int deviceId_ = 0;
  int errorCode_ = 0;
  std::unique_ptr<ByteRing> byteRing_;
  std::unique_ptr<ShortRing> shortRing_;
  std::unique_ptr<ShortDataNotifier> notifier_;
  std::function<void(TMidiIn&)> onShortData_;
  MidiDriver* driver_ = nullptr;  // the driver the slot was opened on
};

}  // namespace kelvora::midi
