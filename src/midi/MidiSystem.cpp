#include "midi/MidiSystem.h"

#include <atomic>

namespace kelvora::midi {
namespace {

class NoDevices : public MidiDriver {
 public:
  int InputCount() override { return 0; }
  std::string InputName(int) override { return {}; }
  int OutputCount() override { return 0; }
  std::string OutputName(int) override { return {}; }
  int OpenOutput(int, int) override { return kErrorBadDevice; }
  void CloseOutput(int) override {}
  void SendLong(int, const uint8_t*, size_t) override {}
  int SendShort(int, uint32_t) override { return kErrorInvalidHandle; }
  int OpenInput(int, int) override { return kErrorBadDevice; }
  void StartInput(int) override {}
  void StopInput(int) override {}
  void ResetInput(int) override {}
  void CloseInput(int) override {}
};

NoDevices noDevices;
std::atomic<MidiDriver*> installed{nullptr};

}  // namespace

MidiDriver& CurrentDriver() {
  MidiDriver* driver = installed.load(std::memory_order_acquire);
  return driver ? *driver : noDevices;
}

void SetDriver(MidiDriver* driver) { installed.store(driver, std::memory_order_release); }

}  // namespace kelvora::midi
