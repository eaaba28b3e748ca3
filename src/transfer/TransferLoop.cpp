#include "transfer/TransferLoop.h"

#include <algorithm>

#include "diagnostics/Debugdevice.h"
#include "midi/Clock.h"
#include "midi/Midiin.h"
#include "protocol/Eps.h"

namespace kelvora::transfer {

namespace {

constexpr int kMinBlockSize = 256;
// Late input ends after this long without a byte; MIDI bytes of one message are never that far
// apart, and the sampler answers a command well within it.
constexpr uint32_t kQuietMs = 300;
// Longest time late input is awaited: the largest block takes under 10 s at 31250 baud.
constexpr uint32_t kLateInputLimitMs = 12000;
// Events are processed at least this often while late input is awaited.
constexpr uint32_t kQuietSliceMs = 100;

}  // namespace

TransferLoop::TransferLoop(protocol::TEps& eps, TransferProgress& progress, EventPump pump)
    : eps_(eps), progress_(progress), pump_(std::move(pump)) {}

bool TransferLoop::Run(int& state, const std::string& stateLine, const std::string& cancelLine,
                       const std::function<void()>& act) {
  int lastLogged = 0;
  bool cancelled = false;
  while (state != 0) {
    Pump();
    if (progress_.Cancelled()) {
      if (!cancelLine.empty()) diagnostics::DebugLine(cancelLine);
      state = 0;
      cancelled = true;
    }
    if (state != lastLogged) {
      diagnostics::DebugLine(stateLine + std::to_string(state));
      lastLogged = state;
    }
    if (state != 0) act();
  }
  return cancelled;
}

bool TransferLoop::InputReady(unsigned bytes) {
  midi::TMidiIn& in = *eps_.MidiIn;
  if (in.BytesAvailable() >= bytes) return true;
  return in.WaitForBytes(bytes, kSliceMs);
}

bool TransferLoop::Pause(uint32_t ms) {
  const uint32_t start = midi::TickCount();
  for (;;) {
    const uint32_t passed = midi::TickCount() - start;
    if (passed >= ms) return true;
    midi::SleepMs(std::min(ms - passed, kSliceMs));
    Pump();
    if (progress_.Cancelled()) return false;
  }
}

void TransferLoop::DropLateInput() {
  midi::TMidiIn& in = *eps_.MidiIn;
  const uint32_t start = midi::TickCount();
  uint32_t lastByte = start;
  size_t dropped = 0;
  for (;;) {
    dropped += in.BytesAvailable();
    in.Flush();
    const uint32_t now = midi::TickCount();
    if (now - lastByte >= kQuietMs || now - start >= kLateInputLimitMs) break;
    if (in.WaitForBytes(1, kQuietSliceMs)) lastByte = midi::TickCount();
    Pump();
  }
  if (dropped > 0) diagnostics::DebugLine("Late input dropped : " + std::to_string(dropped));
}

int TransferLoop::BlockSize() const {
  return std::clamp(eps_.BlockSize, kMinBlockSize, protocol::kSampleBufferWords);
}

void TransferLoop::Pump() {
  if (pump_) pump_();
}

}  // namespace kelvora::transfer
