#pragma once

#include <string>
#include <vector>

namespace kelvora::midi {

// A MIDI device's name uncut, in the parts a user may type: an ALSA sequencer port is
// "client:port"; a device that is not a client's port (the built-in simulated sampler) has a
// client name only. Trailing blanks are not part of either name (the kernel pads port names).
struct DeviceName {
  std::string client;
  std::string port;

  DeviceName() = default;
  DeviceName(std::string clientName, std::string portName = {});
  // "client:port", or the client alone when there is no port.
  std::string Full() const;
  bool operator==(const DeviceName&) const = default;
};

// The device a user named, as an index into the list searched, or why none is.
struct DeviceMatch {
  int index = -1;
  std::string error;  // a sentence; empty when index names the device

  bool Found() const { return index >= 0; }
};

// Finds `wanted` among `devices`, whatever their numbers are today. In this order: the full
// "client:port" name; a number 1..N, the device's place in the list; the port's name alone or
// the client's name alone when exactly one device has it; then the full name and the names
// alone ignoring case. Blanks at the end of `wanted` are ignored. Two devices of the same full
// name are told apart only by their numbers.
DeviceMatch MatchDevice(const std::vector<DeviceName>& devices, const std::string& wanted);

// A text without the blanks (spaces, tabs) at its end.
std::string TrimTrailingBlanks(const std::string& text);

}  // namespace kelvora::midi
