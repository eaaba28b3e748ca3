#include "midi_support.h"

#include <unistd.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "diagnostics/Debugdevice.h"
#include "midi/DoreRav.h"
#include "midi/PortError.h"

namespace kelvora::midi::test {

std::vector<std::string> ScriptedDriver::Calls() {
  std::lock_guard lock(mutex_);
  return calls_;
}

std::vector<std::vector<uint8_t>> ScriptedDriver::LongMessages() {
  std::lock_guard lock(mutex_);
  return longMessages_;
}

std::vector<uint32_t> ScriptedDriver::ShortMessages() {
  std::lock_guard lock(mutex_);
  return shortMessages_;
}

void ScriptedDriver::Record(const std::string& call) {
  std::lock_guard lock(mutex_);
  calls_.push_back(call);
}

int ScriptedDriver::OpenOutput(int device, int slot) {
  Record("OpenOutput " + std::to_string(device));
  if (openResult == 0 && confirmOpen) DoreRav::MidiOutHandler(slot, OutEvent::Opened);
  return openResult;
}

void ScriptedDriver::CloseOutput(int slot) {
  Record("CloseOutput");
  if (confirmClose) DoreRav::MidiOutHandler(slot, OutEvent::Closed);
}

void ScriptedDriver::SendLong(int slot, const uint8_t* data, size_t length) {
  Record("SendLong");
  {
    std::lock_guard lock(mutex_);
    longMessages_.emplace_back(data, data + length);
  }
  if (completeSends) DoreRav::MidiOutHandler(slot, OutEvent::Done);
}

int ScriptedDriver::SendShort(int, uint32_t packed) {
  Record("SendShort");
  std::lock_guard lock(mutex_);
  shortMessages_.push_back(packed);
  return 0;
}

int ScriptedDriver::OpenInput(int device, int slot) {
  Record("OpenInput " + std::to_string(device));
  if (openResult == 0 && confirmOpen) DoreRav::MidiInHandler(slot, InEvent::Opened);
  return openResult;
}

void ScriptedDriver::StartInput(int) { Record("StartInput"); }
void ScriptedDriver::StopInput(int) { Record("StopInput"); }
void ScriptedDriver::ResetInput(int) { Record("ResetInput"); }

void ScriptedDriver::CloseInput(int slot) {
  Record("CloseInput");
  if (confirmClose) DoreRav::MidiInHandler(slot, InEvent::Closed);
}

VirtualTime::VirtualTime() { clock.SetSettleTime(std::chrono::milliseconds(2)); }

std::string PortErrorText(const std::function<void()>& action) {
  try {
    action();
  } catch (const PortError& error) {
    return error.what();
  }
  return {};
}

size_t CountOf(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

}  // namespace kelvora::midi::test
