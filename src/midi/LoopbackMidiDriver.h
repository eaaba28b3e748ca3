#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "midi/DeliveryLane.h"
#include "midi/MidiDriver.h"

namespace kelvora::midi {

// The far end of the loopback cable (tests, the simulated sampler). Called on the loopback's
// thread for the program-to-peer direction; it may call SendToProgram from inside, but not
// AttachPeer.
class LoopbackPeer {
 public:
  virtual ~LoopbackPeer() = default;
  virtual void OnLongMessage(const uint8_t* data, size_t length) = 0;  // a SysEx the program sent
  virtual void OnShortMessage(uint32_t packed) = 0;                    // a short message it sent
};

// An in-memory MIDI cable with one input and one output device. Each direction runs on its
// own thread, delivers to the program in fragments of a chosen size and can be paced at a wire
// rate; faults (a dropped byte, an overrun) can be injected on the way to the program.
class LoopbackMidiDriver : public MidiDriver {
 public:
  explicit LoopbackMidiDriver(std::string name = "Loopback", size_t fragmentSize = 256);
  // Stops both threads, then reports still-open slots closed.
  ~LoopbackMidiDriver() override;

  void AttachPeer(LoopbackPeer* peer);  // nullptr detaches; waits for a running callback
  // Into the program's input, delivered in fragments on the delivery thread; dropped while
  // the input is not started.
  void SendToProgram(const uint8_t* data, size_t length);
  void SendShortToProgram(uint32_t packed);
  void SetFragmentSize(size_t bytes);  // at least 1
  // 0 = unpaced; else each direction carries that many bytes per second (3125 = MIDI).
  void SetWireRate(unsigned bytesPerSecond);
  // Drops the index-th byte (0-based) that reaches the program's input from now on.
  void DropByte(size_t index);
  // Loses the next `bytes` bytes on the way to the program and reports an overrun.
  void InjectOverrun(size_t bytes);
  // Every long byte the program sent, in order, while recording is on (the default; a device
  // that runs for hours turns it off so memory does not grow with every transfer).
  std::vector<uint8_t> ReceivedFromProgram();
  void SetRecording(bool on);
  // Until all queued deliveries in both directions are done.
  void WaitIdle();

  int InputCount() override { return 1; }
  std::string InputName(int device) override;
  int OutputCount() override { return 1; }
  std::string OutputName(int device) override;

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
  struct Fragment {
    int slot = -1;  // -1: the input is not listening
    size_t lost = 0;
    std::vector<uint8_t> kept;
  };

  void DeliverToProgram(const std::vector<uint8_t>& bytes, uint64_t generation);
  Fragment TakeFragment(const uint8_t* data, size_t length, uint64_t generation);
  void DeliverShortToProgram(uint32_t packed, uint64_t generation);
  void DeliverToPeer(int slot, const std::vector<uint8_t>& message);

  const std::string name_;
  std::atomic<size_t> fragmentSize_;
  std::atomic<unsigned> wireRate_{0};

  std::mutex mutex_;  // everything below up to the lanes
  int outSlot_ = -1;
  int inSlot_ = -1;
  bool inStarted_ = false;
  uint64_t generation_ = 0;  // a reset drops what was queued before it
  uint64_t delivered_ = 0;   // bytes that reached the program's input so far
  std::set<uint64_t> drops_;
  size_t overrunLeft_ = 0;
  std::vector<uint8_t> received_;
  bool recording_ = true;

  std::mutex peerMutex_;
  LoopbackPeer* peer_ = nullptr;

  DeliveryLane::Tracker tracker_;
  DeliveryLane toProgram_{tracker_};
  DeliveryLane toPeer_{tracker_};
};

}  // namespace kelvora::midi
