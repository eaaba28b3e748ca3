#pragma once

#include <alsa/asoundlib.h>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "midi/DeviceMatch.h"

namespace kelvora::midi {

// One sequencer port offered as a MIDI device.
struct AlsaPortInfo {
  std::string name;  // "client:port", at most AlsaPortList::kMaxName bytes
  int client = -1;
  int port = -1;
  DeviceName uncut{};  // the client's and the port's names whole, for finding a port by name
};

enum class AlsaDirection { Input, Output };

// The sequencer ports a user can pick: ports of other clients that can be subscribed for
// reading (inputs) or writing (outputs). Port numbers change when a device is plugged in or
// out, so a device is found again by its name before it is opened.
class AlsaPortList {
 public:
  static constexpr size_t kMaxName = 31;

  // "client:port", cut to kMaxName bytes without splitting a UTF-8 character; blanks at the
  // end of either name and of the cut name are left out.
  static std::string DeviceName(const std::string& client, const std::string& port);
  // The System client and the clients in `excluded` are left out; client and port order.
  static std::vector<AlsaPortInfo> Scan(snd_seq_t* seq, AlsaDirection direction,
                                        const std::vector<int>& excluded);
  // The device name of the port client:port; none when there is no such port.
  static std::optional<std::string> NameAt(snd_seq_t* seq, int client, int port);
  // Where device `index` of the earlier list `before` is in the list `now`: the port of the
  // same name at the same address, else the one of that name at the same rank among equal
  // names (two identical interfaces), else none.
  static std::optional<AlsaPortInfo> Find(const std::vector<AlsaPortInfo>& now,
                                          const std::vector<AlsaPortInfo>& before, size_t index);
};

}  // namespace kelvora::midi
