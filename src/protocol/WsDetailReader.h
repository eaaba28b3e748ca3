#pragma once

#include <QObject>
#include <QTimer>
#include <cstdint>
#include <deque>
#include <vector>

#include "protocol/ActivityWatch.h"
#include "protocol/RecordFetch.h"

namespace kelvora::protocol {

class TEps;

// Reads wavesample parameter records one after another while the user-interface thread stays
// free: each step of an exchange is taken when its bytes are there, and the next request goes
// out as soon as a record is in. Records land in the session's cache, which also answers for
// those already read. While it reads, nobody else may talk to the sampler: whoever wants to
// calls Stop first, which ends the reading between two exchanges.
class WsDetailReader : public QObject {
  Q_OBJECT

 public:
  // A step that brings no byte for this long ends the reading (the port's own byte limit).
  static constexpr uint32_t kStepLimitMs = 10000;
  // Stop waits this long for each step left: the sampler answers within its 2-second rule.
  static constexpr uint32_t kFinishLimitMs = 2000;

  explicit WsDetailReader(TEps& eps, QObject* parent = nullptr);
  ~WsDetailReader() override;

  // Adds records to read after those queued; one queued already is not queued again. The
  // reading starts from the event loop, once the caller has returned.
  void Queue(const std::vector<Target>& targets);
  // Drops what is queued; an exchange under way is finished first (the caller waits for it), so
  // the conversation with the sampler is in step when this returns.
  void Stop();
  bool Reading() const { return fetch_.Busy() || !queue_.empty(); }

 Q_SIGNALS:
  // The record is in the session's cache.
  void Arrived(int instrument, int waveSample);
  // The sampler refused the record, or stopped answering (then the reading ends).
  void Failed(int instrument, int waveSample);

 private:
  void Next();
  bool StartFetch(const Target& target);
  void Pump();
  void Finished();
  void StepTimedOut();

  TEps& eps_;
  RecordFetch fetch_;
  std::deque<Target> queue_;
  ActivityWatch watch_;
  QTimer stepLimit_;
  bool nextPosted_ = false;
};

}  // namespace kelvora::protocol
