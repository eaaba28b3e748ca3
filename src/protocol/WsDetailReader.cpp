#include "protocol/WsDetailReader.h"

#include <algorithm>
#include <exception>
#include <string>

#include "diagnostics/Debugdevice.h"
#include "midi/MidiActivity.h"
#include "midi/Midiin.h"
#include "protocol/Eps.h"

namespace kelvora::protocol {

namespace {

bool Same(const Target& a, const Target& b) {
  return a.instrument == b.instrument && a.waveSample == b.waveSample;
}

}  // namespace

WsDetailReader::WsDetailReader(TEps& eps, QObject* parent)
    : QObject(parent), eps_(eps), fetch_(eps), watch_([this] { Pump(); }) {
  stepLimit_.setSingleShot(true);
  stepLimit_.setInterval(static_cast<int>(kStepLimitMs));
  connect(&stepLimit_, &QTimer::timeout, this, &WsDetailReader::StepTimedOut);
}

// The receivers may be gone already; the exchange is still finished.
WsDetailReader::~WsDetailReader() {
  blockSignals(true);
  Stop();
}

void WsDetailReader::Queue(const std::vector<Target>& targets) {
  for (const Target& target : targets) {
    const auto queued = [&](const Target& t) { return Same(t, target); };
    if (std::any_of(queue_.begin(), queue_.end(), queued)) continue;
    if (fetch_.Busy() && Same(fetch_.CurrentTarget(), target)) continue;
    queue_.push_back(target);
  }
  if (fetch_.Busy() || nextPosted_ || queue_.empty()) return;
  nextPosted_ = true;
  QMetaObject::invokeMethod(this, &WsDetailReader::Next, Qt::QueuedConnection);
}

// Records in the cache need no exchange.
void WsDetailReader::Next() {
  nextPosted_ = false;
  while (!fetch_.Busy() && !queue_.empty()) {
    const Target target = queue_.front();
    queue_.pop_front();
    if (eps_.WsRecords().Find(target.instrument, target.waveSample) != nullptr) {
      Q_EMIT Arrived(target.instrument, target.waveSample);
      continue;
    }
    if (!StartFetch(target)) return;
    stepLimit_.start();
    Pump();
  }
}

// A port failure ends the lazy reading quietly: the next command the user gives meets it and
// reports it.
bool WsDetailReader::StartFetch(const Target& target) {
  try {
    fetch_.Start(target);
    return true;
  } catch (const std::exception& failure) {
    diagnostics::DebugLine(std::string("Details stopped: ") + failure.what());
    queue_.clear();
    fetch_.Abandon();
    return false;
  }
}

void WsDetailReader::Pump() {
  if (!fetch_.Busy()) return;
  const uint64_t seen = midi::MidiActivity::Count();
  bool over = false;
  try {
    over = fetch_.Advance();
  } catch (const std::exception& failure) {
    diagnostics::DebugLine(std::string("Details stopped: ") + failure.what());
    queue_.clear();
    fetch_.Abandon();
    over = true;
  }
  if (over) {
    Finished();
    return;
  }
  // Something came: the sampler is there, the limit starts again.
  stepLimit_.start();
  watch_.Arm(seen);
}

void WsDetailReader::Finished() {
  stepLimit_.stop();
  watch_.Disarm();
  const Target target = fetch_.CurrentTarget();
  if (fetch_.CurrentState() == RecordFetch::State::Done) {
    eps_.WsRecords().Put(target.instrument, target.waveSample, fetch_.Record());
    Q_EMIT Arrived(target.instrument, target.waveSample);
  } else {
    Q_EMIT Failed(target.instrument, target.waveSample);
  }
  Next();
}

// A sampler that stopped answering will not answer the next request either.
void WsDetailReader::StepTimedOut() {
  if (!fetch_.Busy()) return;
  if (!fetch_.Advance()) {
    queue_.clear();
    fetch_.Abandon();
  }
  Finished();
}

void WsDetailReader::Stop() {
  queue_.clear();
  if (!fetch_.Busy()) return;
  try {
    fetch_.Finish(kFinishLimitMs);
  } catch (const std::exception&) {
    fetch_.Abandon();
  }
  Finished();
}

}  // namespace kelvora::protocol
