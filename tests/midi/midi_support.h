#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "midi/Clock.h"
#include "midi/MidiDriver.h"
#include "support/DebugLogCapture.h"
#include "support/FakeClock.h"
#include "support/ScopedClock.h"
#include "support/ScopedDriver.h"

namespace kelvora::midi::test {

// A driver that reports at once from the calling thread, or never, as a test tells it, and
// records every call.
class ScriptedDriver : public MidiDriver {
 public:
  int openResult = 0;
  bool confirmOpen = true;
  bool confirmClose = true;
  bool completeSends = true;

  std::vector<std::string> Calls();
  std::vector<std::vector<uint8_t>> LongMessages();
  std::vector<uint32_t> ShortMessages();

  std::atomic<int> devices{1};  // in each direction, all of one name

  int InputCount() override { return devices; }
  std::string InputName(int) override { return "Scripted In"; }
  int OutputCount() override { return devices; }
  std::string OutputName(int) override { return "Scripted Out"; }
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
  void Record(const std::string& call);

  std::mutex mutex_;
  std::vector<std::string> calls_;
  std::vector<std::vector<uint8_t>> longMessages_;
  std::vector<uint32_t> shortMessages_;
};

// Installs a FakeClock with a short settle time for the life of the object.
class VirtualTime {
 public:
  VirtualTime();
  testing::FakeClock clock{1000};

 private:
  testing::ScopedClock use_{clock};
};

using LogCapture = kelvora::testing::DebugLogCapture;

// The text of the PortError `action` raised; empty when it raised none.
std::string PortErrorText(const std::function<void()>& action);

size_t CountOf(const std::string& text, const std::string& part);

}  // namespace kelvora::midi::test
