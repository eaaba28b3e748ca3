#pragma once

#include <stdexcept>
#include <string>

namespace kelvora::midi {

// A port failure the program does not expect to recover from; what() is the whole message
// ("error: Midiout pool full", ...), shown as it is by the application's top-level handler.
class PortError : public std::runtime_error {
 public:
  explicit PortError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace kelvora::midi
