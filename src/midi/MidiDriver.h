#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace kelvora::midi {

// What the MIDI ports need from a MIDI system, and nothing more.
//
// Device numbers are 0-based per direction. Every open, close, "done" and every incoming byte is
// reported back through the companion library (DoreRav::MidiOutHandler with an OutEvent,
// DoreRav::MidiInHandler with an InEvent) with the slot given at open time; those reports may
// come from the driver's own thread.
class MidiDriver {
 public:
  virtual ~MidiDriver() = default;

  virtual int InputCount() = 0;
  virtual std::string InputName(int device) = 0;  // product name, at most 31 characters
  virtual int OutputCount() = 0;
  virtual std::string OutputName(int device) = 0;

  // 0 when the request was accepted (the open is then reported as OutEvent::Opened), else a
  // nonzero system error code.
  virtual int OpenOutput(int device, int slot) = 0;
  // Reported as OutEvent::Closed.
  virtual void CloseOutput(int slot) = 0;
  // Copies the message; reports OutEvent::Done once its last byte has left for the wire.
  virtual void SendLong(int slot, const uint8_t* data, size_t length) = 0;
  // Packed short message: status in bits 0-7, data 1 in bits 8-15, data 2 in bits 16-23.
  // Returns 0 or a system error code.
  virtual int SendShort(int slot, uint32_t packed) = 0;

  // Same conventions as the output side (InEvent::Opened, InEvent::Closed); incoming data is
  // reported as InEvent::LongData / InEvent::ShortData only between StartInput and StopInput.
  virtual int OpenInput(int device, int slot) = 0;
  virtual void StartInput(int slot) = 0;
  virtual void StopInput(int slot) = 0;
  virtual void ResetInput(int slot) = 0;
  virtual void CloseInput(int slot) = 0;
};

}  // namespace kelvora::midi
