#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "sim/Command.h"
#include "sim/CommandExecutor.h"
#include "sim/FaultPlan.h"
#include "sim/MidiStreamParser.h"
#include "sim/OutputFaults.h"
#include "sim/SamplerLog.h"
#include "sim/SamplerMemory.h"
#include "sim/SimOptions.h"

namespace kelvora::sim {

// The sampler's side of the EPS/ASR SysEx protocol: takes what the host sends (as a raw byte
// stream or as whole messages), acts on the memory and hands every answer to the output in
// order. Single-threaded; SimulatedSampler runs it on a thread of its own.
//
// GET (03, 04, 05, 06, 0A): ACK, the header message, then up to ackTimeoutMs for the host's ACK,
// then the data message; the host's ACK after the data is taken when it comes but not required.
// No ACK in time, or any other message instead: the exchange is abandoned, never resent.
// PUT (0C, 0D, 0E, 0F): ACK, then the next message is the data block of the announced length;
// ACK when it is whole, NAK (23) when it is not. A data block that does not begin to come within
// ackTimeoutMs abandons the PUT.
class SamplerEngine {
 public:
  // A message to send and the processing time modelled before it (ignored when unpaced).
  struct Output {
    std::vector<uint8_t> bytes;
    int64_t delayUs = 0;
  };
  using OutputHandler = std::function<void(Output)>;
  using TickSource = std::function<uint32_t()>;  // milliseconds

  // The largest PUT DATA block taken (status 10 beyond): the receive buffer is finite.
  static constexpr int kMaxBlockWords = 65536;

  // options must be normalized (NormalizedOptions). tick defaults to the program's MIDI clock.
  SamplerEngine(SamplerMemory& memory, const SimOptions& options, SamplerLog& log,
                OutputHandler output, TickSource tick = {});

  void Feed(const uint8_t* data, size_t size);
  // The same for bytes that began to arrive at startTick: a cable that hands a message on only
  // once it has crossed the wire whole would otherwise date a long block by its end.
  void FeedStartedAt(const uint8_t* data, size_t size, uint32_t startTick);
  void HandleSysex(const uint8_t* message, size_t size);
  void HandleChannelMessage(uint8_t status, uint8_t data1, uint8_t data2);
  void SetFaults(const FaultPlan& plan);

  int CurrentInstrument() const { return currentInstrument_; }
  bool InExchange() const { return phase_ != Phase::Idle; }

 private:
  enum class Phase { Idle, AwaitHeaderAck, AwaitFinalAck, AwaitPutData };
  struct PendingPut {
    uint8_t type = 0;
    protocol::Target target;
    int start = 0;
    int words = 0;
  };
  struct Reply {
    int status = 0;
    std::vector<uint8_t> header;
    std::vector<int> words;
  };

  bool TakenByExchange(const uint8_t* message, size_t size);
  void HandleCommand(const uint8_t* message, size_t size);
  int Dispatch(const Command& command);
  int StartGet(const Command& command);
  Reply GetReply(const Command& command) const;
  Reply GetDataReply(const Command& command) const;
  Reply GetOverviewReply(const Command& command) const;
  int StartPut(const Command& command);
  int CheckPutData(const Command& command);
  void ReceivePutData(const uint8_t* message, size_t size);
  bool StorePutData(const std::vector<int>& words);
  int PutParameter(const Command& command);
  int Edit(const Command& command);

  void Respond(int status, int64_t delayUs);
  void SendDataMessage(const std::vector<int>& words, int64_t delayUs);
  void Send(std::vector<uint8_t> bytes, int64_t delayUs);
  bool Expired(uint32_t messageStart) const;
  int64_t SampleTimeUs(int64_t samples) const;

  SamplerMemory& memory_;
  SimOptions options_;
  SamplerLog& log_;
  OutputHandler output_;
  TickSource tick_;
  CommandExecutor executor_;
  MidiStreamParser parser_;
  FaultPlan faults_;
  OutputFaults outputFaults_;
  int waitsDue_ = 0;

  Phase phase_ = Phase::Idle;
  uint32_t phaseStart_ = 0;
  uint32_t messageStart_ = 0;  // when the first bytes of the message being fed came
  bool feeding_ = false;
  std::vector<int> pendingWords_;
  PendingPut put_;
  std::optional<uint32_t> lastBlockTick_;
  std::optional<std::pair<int, int>> refusedBlock_;  // wavesample and start of the refused block
  int currentInstrument_ = 0;
};

}  // namespace kelvora::sim
