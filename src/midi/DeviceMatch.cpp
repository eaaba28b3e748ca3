#include "midi/DeviceMatch.h"

#include <algorithm>
#include <cctype>
#include <functional>

namespace kelvora::midi {

namespace {

using Same = std::function<bool(const std::string&, const std::string&)>;

bool Exactly(const std::string& a, const std::string& b) { return a == b; }

bool IgnoringCase(const std::string& a, const std::string& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) ==
           std::tolower(static_cast<unsigned char>(y));
  });
}

std::vector<int> Matching(const std::vector<DeviceName>& devices,
                          const std::function<bool(const DeviceName&)>& test) {
  std::vector<int> found;
  for (size_t i = 0; i < devices.size(); ++i) {
    if (test(devices[i])) found.push_back(static_cast<int>(i));
  }
  return found;
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// The devices a name fits, listed for the user, with their numbers.
std::string Candidates(const std::vector<DeviceName>& devices, const std::vector<int>& found) {
  std::string text;
  for (const int i : found) {
    text += (text.empty() ? "" : ", ") + std::to_string(i + 1) + " " + Quoted(devices[i].Full());
  }
  return text;
}

DeviceMatch Ambiguous(const std::vector<DeviceName>& devices, const std::vector<int>& found,
                      const std::string& wanted) {
  return {-1, Quoted(wanted) + " names " + std::to_string(found.size()) + " MIDI devices (" +
                  Candidates(devices, found) + "); give the full name or the number."};
}

// The one device whose full name (`parts` false) or whose port or client name (`parts` true)
// `same` finds equal to `wanted`. An empty result with no error: none has it.
DeviceMatch ByName(const std::vector<DeviceName>& devices, const std::string& wanted,
                   const Same& same, bool parts) {
  const std::vector<int> found = Matching(devices, [&](const DeviceName& d) {
    if (!parts) return same(d.Full(), wanted);
    return (!d.port.empty() && same(d.port, wanted)) || same(d.client, wanted);
  });
  if (found.size() == 1) return {found.front(), {}};
  if (found.size() > 1) return Ambiguous(devices, found, wanted);
  return {};
}

bool Settled(const DeviceMatch& match) { return match.Found() || !match.error.empty(); }

bool AllDigits(const std::string& text) {
  return !text.empty() && text.size() <= 9 &&
         std::all_of(text.begin(), text.end(),
                     [](unsigned char c) { return std::isdigit(c) != 0; });
}

}  // namespace

DeviceName::DeviceName(std::string clientName, std::string portName)
    : client(TrimTrailingBlanks(clientName)), port(TrimTrailingBlanks(portName)) {}

std::string DeviceName::Full() const { return port.empty() ? client : client + ":" + port; }

std::string TrimTrailingBlanks(const std::string& text) {
  const size_t end = text.find_last_not_of(" \t");
  return end == std::string::npos ? std::string() : text.substr(0, end + 1);
}

DeviceMatch MatchDevice(const std::vector<DeviceName>& devices, const std::string& text) {
  const std::string wanted = TrimTrailingBlanks(text);
  if (wanted.empty()) return {-1, "An empty name names no MIDI device."};
  if (devices.empty()) return {-1, "There are no MIDI devices."};
  if (DeviceMatch match = ByName(devices, wanted, Exactly, false); Settled(match)) return match;
  if (AllDigits(wanted)) {
    const int number = std::stoi(wanted);
    if (number >= 1 && static_cast<size_t>(number) <= devices.size()) return {number - 1, {}};
    return {-1, "There is no MIDI device number " + wanted + "; the devices are numbered 1 to " +
                    std::to_string(devices.size()) + "."};
  }
  if (DeviceMatch match = ByName(devices, wanted, Exactly, true); Settled(match)) return match;
  // Case counts in a name only when nothing else fits.
  for (const bool parts : {false, true}) {
    if (DeviceMatch match = ByName(devices, wanted, IgnoringCase, parts); Settled(match)) {
      return match;
    }
  }
  return {-1, "No MIDI device is named " + Quoted(wanted) + "."};
}

}  // namespace kelvora::midi
