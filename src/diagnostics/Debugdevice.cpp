#include "diagnostics/Debugdevice.h"

#include <filesystem>
#include <memory>
#include <mutex>

#include "diagnostics/DebugFileSink.h"
#include "diagnostics/DebugFolders.h"
#include "diagnostics/DebugMonitor.h"
#include "diagnostics/DebugSerialSink.h"

namespace kelvora::diagnostics {

TDebugDevice* DebugDevice = nullptr;

namespace {

constexpr const char* kLineEnd = "\r\n";
constexpr const char* kStars = "**************************";

struct LogState {
  std::mutex lock;
  TDebugMedia media = dmNull;
  bool sessionOpen = false;
  TDebugSink* sink = nullptr;              // null for dmNull
  std::unique_ptr<TDebugSink> owned;       // the file or port of the current session
  std::unique_ptr<TDebugMonitor> monitor;  // null until a program installs one
  std::string filePath;
};

LogState& State() {
  static LogState state;
  return state;
}

void WriteText(LogState& state, std::string_view text) {
  if (state.sessionOpen && state.sink != nullptr) state.sink->Write(text);
}

void WriteLine(LogState& state, std::string_view text) {
  std::string line(text);
  line += kLineEnd;
  WriteText(state, line);
}

bool OpenFile(LogState& state, std::initializer_list<std::string> folders) {
  auto file = std::make_unique<TDebugFileSink>();
  for (const std::string& folder : folders) {
    if (folder.empty()) continue;
    std::string path = (std::filesystem::path(folder) / "Debug.txt").string();
    if (file->Create(path)) {
      state.filePath = path;
      state.owned = std::move(file);
      return true;
    }
  }
  return false;
}

bool OpenSerial(LogState& state) {
  auto port = std::make_unique<TDebugSerialSink>();
  if (!port->Open(TDebugSerialSink::PortPath())) return false;
  state.owned = std::move(port);
  return true;
}

bool OpenMonitor(LogState& state) { return state.monitor && state.monitor->Open(); }

bool OpenMedium(LogState& state) {
  switch (state.media) {
    case dmNull:
      return true;
    case dmFile:
      return OpenFile(state, {DebugProgramFolder(), DebugStateFolder()});
    case dmStateFile:
      return OpenFile(state, {DebugStateFolder()});
    case dmSerial:
      return OpenSerial(state);
    case dmWindow:
      return OpenMonitor(state);
  }
  return false;
}

TDebugSink* SinkOf(LogState& state) {
  if (state.media == dmWindow) return state.monitor.get();
  return state.owned.get();
}

}  // namespace

TDebugMedia TDebugDevice::Media() const {
  LogState& state = State();
  std::lock_guard guard(state.lock);
  return state.media;
}

void TDebugDevice::SetMedia(TDebugMedia media) {
  LogState& state = State();
  std::lock_guard guard(state.lock);
  if (!state.sessionOpen) state.media = media;
}

void TDebugDevice::Open() {
  LogState& state = State();
  std::lock_guard guard(state.lock);
  if (state.sessionOpen) return;
  if (OpenMedium(state)) {
    state.sink = SinkOf(state);
    state.sessionOpen = true;
  }
  WriteLine(state, kStars);
  WriteLine(state, "* Start of debug session *");
  WriteLine(state, kStars);
}

void TDebugDevice::Close() {
  LogState& state = State();
  std::lock_guard guard(state.lock);
  if (!state.sessionOpen) return;
  WriteLine(state, kStars);
  WriteLine(state, "*  End of debug session  *");
  WriteLine(state, kStars);
  WriteLine(state, "");
  WriteLine(state, "");
  if (state.sink != nullptr) state.sink->Flush();
  state.owned.reset();
  state.sink = nullptr;
  state.sessionOpen = false;
}

void TDebugDevice::Write(const std::string& text) {
  LogState& state = State();
  std::lock_guard guard(state.lock);
  WriteText(state, text);
}

bool TDebugDevice::SessionOpen() {
  LogState& state = State();
  std::lock_guard guard(state.lock);
  return state.sessionOpen;
}

void TDebugDevice::InstallMonitor(std::unique_ptr<TDebugMonitor> monitor) {
  LogState& state = State();
  std::lock_guard guard(state.lock);
  if (!state.sessionOpen) state.monitor = std::move(monitor);
}

std::string TDebugDevice::FilePath() {
  LogState& state = State();
  std::lock_guard guard(state.lock);
  return state.filePath;
}

void WriteDebugLine(TDebugDevice* device, const std::string& text) {
  // Every device writes to the one class-wide log, so a null device needs no instance.
  TDebugDevice classWide;
  (device != nullptr ? *device : classWide).Write(text + kLineEnd);
}

void DebugWrite(const std::string& text) {
  TDebugDevice classWide;
  (DebugDevice != nullptr ? *DebugDevice : classWide).Write(text);
}

void DebugLine(const std::string& text) { WriteDebugLine(DebugDevice, text); }

}  // namespace kelvora::diagnostics
