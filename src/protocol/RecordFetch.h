#pragma once

#include <cstdint>

#include "protocol/Records.h"
#include "protocol/Sysex.h"

namespace kelvora::protocol {

class TEps;

// One GetWsParams exchange taken in steps that never wait for the wire: the request, the
// sampler's ACK, its header (acknowledged at once, as the sampler needs within 2 s) and the
// 139-word record, each read only once all of its bytes are in the input. A caller that must
// talk to the sampler meanwhile first calls Finish, which waits for the rest, so the
// conversation is in step again. The record goes to a buffer of its own: the session's current
// target and WsParams are left as they are.
class RecordFetch {
 public:
  enum class State { Idle, AwaitAck, AwaitHeader, AwaitRecord, Done, Failed };

  explicit RecordFetch(TEps& eps);

  void Start(const Target& target);
  // Takes every step whose bytes have arrived; true once the exchange is over.
  bool Advance();
  // Bytes the current step waits for in the input (0 when the exchange is over).
  unsigned BytesNeeded() const;
  // Waits for the rest of the exchange while the input keeps coming, each silence at most
  // `limitMs` of real time; after a longer one the exchange fails and the input is dropped.
  void Finish(uint32_t limitMs);
  // Gives up at once; what already arrived or still arrives is dropped from the input.
  void Abandon();

  State CurrentState() const { return state_; }
  bool Busy() const;
  const Target& CurrentTarget() const { return target_; }
  const int* Record() const { return record_; }  // valid once Done

 private:
  bool Step();
  bool ReadAck();
  bool ReadHeader();
  bool ReadRecord();
  void Fail();

  TEps& eps_;
  State state_ = State::Idle;
  Target target_;
  int record_[kWsRecordWords] = {};
};

}  // namespace kelvora::protocol
