// Arbitrary contents of the settings file read at start-up: the first-run mark, the window
// placement, the preferences with their device names, and the simulator's state file. What was
// read must come back the same after the program writes it at exit.
#include <QRect>
#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "ScratchFile.h"
#include "settings/Settings.h"

namespace {

using namespace kelvora;
using fuzz::Require;
using settings::Settings;
using settings::StoredPreferences;
using settings::WindowPlacement;

constexpr unsigned kNamePool = 64;
const QStringList kInputs = {"Simulated EPS-16 PLUS", "USB MIDI 1", "USB MIDI 2"};
const QStringList kOutputs = {"Simulated EPS-16 PLUS", "USB MIDI 1"};

bool Same(const StoredPreferences& a, const StoredPreferences& b) {
  return a.midiIn == b.midiIn && a.midiOut == b.midiOut && a.channel == b.channel &&
         a.blockSize == b.blockSize && a.delay == b.delay &&
         a.uploadDownloadPath == b.uploadDownloadPath;
}

}  // namespace

// This target spends its time in the Qt library, which is built without frame pointers: past the
// first two frames, every allocation's recorded stack picks up stray words, each of them new, and
// the sanitizer's stack store grows by about 1.6 KB per input until the fuzzer stops at its
// memory limit. Two frames name the allocating call; an error's own stack is still unwound in
// full. ASAN_OPTIONS from the environment still apply on top.
extern "C" const char* __asan_default_options() { return "malloc_context_size=2"; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The settings library caches a file by its name, size and modification time. Names taken in
  // turn from a pool come back only after many inputs, when the time stamp has moved on, while
  // the cache stays the same size from one input to the next; with a new name every run it grew
  // by one entry per input, which the fuzzer cannot tell from a leak.
  static unsigned run = 0;
  const std::string path =
      fuzz::ScratchDir() + "/settings-" + std::to_string(run++ % kNamePool) + ".ini";
  fuzz::WriteBytes(path, data, size);
  const QString iniPath = QString::fromStdString(path);
  StoredPreferences prefs;
  WindowPlacement placement;
  {
    Settings settings(iniPath);
    settings.TakeFirstRun();
    placement = settings.ReadWindow();
    prefs = settings.ReadPreferences(kInputs, kOutputs);
    settings.SimulatorStateFile();
    settings.WriteWindow(0, placement.bounds);
    settings.WritePreferences(prefs, kInputs, kOutputs, "/usr/bin/kelvora");
    settings.Sync();
  }
  {
    Settings settings(iniPath);
    Require(!settings.TakeFirstRun(), "the first run was not recorded");
    const WindowPlacement again = settings.ReadWindow();
    Require(again.bounds == placement.bounds && again.state == 0, "the window came back moved");
    Require(Same(settings.ReadPreferences(kInputs, kOutputs), prefs),
            "the preferences came back changed");
  }
  std::remove(path.c_str());
  return 0;
}
