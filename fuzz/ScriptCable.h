#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "midi/LoopbackMidiDriver.h"
#include "midi/MidiDriver.h"

namespace kelvora::fuzz {

// A MIDI cable for fuzz runs with no thread of its own: every report, every message to the peer
// and every answer it gives happens inside the call that caused it. A run is then the same every
// time it is repeated, and costs no thread start and no thread switch per message.
class ScriptCable : public midi::MidiDriver {
 public:
  ~ScriptCable() override;  // reports still-open slots closed

  void AttachPeer(midi::LoopbackPeer* peer) { peer_ = peer; }
  // Into the program's input at once, in fragments as a driver hands them over; dropped while
  // the input is not started.
  void SendToProgram(const uint8_t* data, size_t length);

  int InputCount() override { return 1; }
  std::string InputName(int device) override { return device == 0 ? "Script" : ""; }
  int OutputCount() override { return 1; }
  std::string OutputName(int device) override { return device == 0 ? "Script" : ""; }

  int OpenOutput(int device, int slot) override;
  void CloseOutput(int slot) override;
  void SendLong(int slot, const uint8_t* data, size_t length) override;
  int SendShort(int slot, uint32_t packed) override;

  int OpenInput(int device, int slot) override;
  void StartInput(int slot) override;
  void StopInput(int slot) override;
  void ResetInput(int slot) override;
  void CloseInput(int slot) override;

 private:
  static constexpr size_t kFragmentBytes = 256;

  midi::LoopbackPeer* peer_ = nullptr;
  int outSlot_ = -1;
  int inSlot_ = -1;
  bool inStarted_ = false;
};

}  // namespace kelvora::fuzz
