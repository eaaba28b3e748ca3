#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <vector>

#include "protocol/Sysex.h"

namespace kelvora::simcli::test {

using Bytes = std::vector<uint8_t>;
using Build = std::function<void(protocol::ByteSink&)>;

// Where the sampler is: bytes out to it, whole messages back.
class SamplerLink {
 public:
  virtual ~SamplerLink() = default;
  virtual bool Write(const Bytes& bytes) = 0;
  // The next whole message; empty when none comes in time.
  virtual Bytes ReadMessage() = 0;
};

Bytes Built(const Build& build);
// Status of a response message on `channel`; -1 for anything else.
int StatusOf(const Bytes& message, int channel = 1);
// The W16 words of a data message; empty when it is not one of `count` words.
std::vector<int> DataWords(const Bytes& message, size_t count);
// count 16-bit words from `from` in steps of `step`, wrapped as unsigned.
std::vector<int> Ramp(int count, int step, int from);

// The host's side of the exchanges, on channel 1.
class Host {
 public:
  explicit Host(SamplerLink& link) : link_(link) {}

  bool Send(const Build& build) { return link_.Write(Built(build)); }
  Bytes Next() { return link_.ReadMessage(); }
  int Answer() { return StatusOf(Next()); }

  // A GET to its end: ACK, the header `header` builds, the host's ACK, the data message.
  std::vector<int> Get(const Build& get, const Build& header, size_t words);
  // A two-part PUT: the status of the command, then (when it was taken) of the data block.
  std::vector<int> Put(const Build& put, const std::vector<int>& words);
  std::vector<int> Download(const protocol::Target& t, int start, int end);
  // Creates instrument i, missing, as Kelvora's upload does when told what is missing, with a
  // layer and its wavesample 1, and fills that with `words`.
  void Upload(int i, const std::vector<int>& words);
  // Reads the instrument records of all eight instruments: the status of each.
  std::vector<int> InstrumentStatuses();

 private:
  SamplerLink& link_;
};

}  // namespace kelvora::simcli::test
