#include "midi/AlsaSender.h"

#include <cerrno>
#include <utility>

#include "midi/AlsaShortCodec.h"
#include "midi/AlsaSysexChunker.h"

namespace kelvora::midi {

namespace {
constexpr uint8_t kStartOfExclusive = 0xF0;
constexpr uint8_t kEndOfExclusive = 0xF7;
constexpr size_t kSpareBuffers = 4;
}  // namespace

AlsaSender::AlsaSender(Output output, Handlers handlers, AlsaWirePacer pacer)
    : output_(std::move(output)),
      handlers_(std::move(handlers)),
      pacer_(pacer),
      thread_(&AlsaSender::Run, this) {}

AlsaSender::~AlsaSender() { Stop(); }

void AlsaSender::SendLong(const uint8_t* data, size_t length) {
  std::lock_guard lock(mutex_);
  if (stopping_) return;
  Job job;
  if (!spare_.empty()) {
    job.bytes = std::move(spare_.back());
    spare_.pop_back();
  }
  job.bytes.assign(data, data + length);
  queue_.push_back(std::move(job));
  wake_.notify_all();
}

int AlsaSender::SendShort(uint32_t packed) {
  if (!AlsaShortCodec::Valid(packed)) return EINVAL;
  const int wireBytes = AlsaShortCodec::MessageLength(static_cast<uint8_t>(packed));
  std::lock_guard lock(mutex_);
  if (stopping_) return EBADF;
  const auto now = AlsaWirePacer::Clock::now();
  if (busy_ || !queue_.empty() || pacer_.ReadyAt(static_cast<size_t>(wireBytes), now) > now) {
    Job job;
    job.packed = packed;
    job.isShort = true;
    queue_.push_back(std::move(job));
    wake_.notify_all();
    return 0;
  }
  return EmitShort(packed);
}

void AlsaSender::Stop() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  if (thread_.joinable()) thread_.join();
  std::lock_guard lock(mutex_);
  queue_.clear();
  if (insideSysex_ && output_.sysex(&kEndOfExclusive, 1) == 0) insideSysex_ = false;
}

bool AlsaSender::Idle() const {
  std::lock_guard lock(mutex_);
  return !busy_ && queue_.empty();
}

void AlsaSender::Run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
    if (stopping_) return;
    Job job = std::move(queue_.front());
    queue_.pop_front();
    busy_ = true;
    const int outcome = job.isShort ? RunShort(lock, job.packed) : RunLong(lock, job.bytes);
    busy_ = false;
    if (job.bytes.capacity() > 0 && spare_.size() < kSpareBuffers) {
      job.bytes.clear();
      spare_.push_back(std::move(job.bytes));
    }
    if (stopping_ || (job.isShort && outcome == 0)) continue;
    // Reported idle already, so that a message sent from the report goes out at once.
    lock.unlock();
    if (outcome == 0 && handlers_.done) handlers_.done();
    if (outcome != 0 && handlers_.failed) handlers_.failed(outcome);
    lock.lock();
  }
}

int AlsaSender::RunShort(std::unique_lock<std::mutex>& lock, uint32_t packed) {
  const int wireBytes = AlsaShortCodec::MessageLength(static_cast<uint8_t>(packed));
  const auto ready = pacer_.ReadyAt(static_cast<size_t>(wireBytes), AlsaWirePacer::Clock::now());
  return WaitUntil(lock, ready) ? EmitShort(packed) : ECANCELED;
}

// 0 once the message's last byte has had its wire time, else the error it was given up on
// (ECANCELED when stopping).
int AlsaSender::RunLong(std::unique_lock<std::mutex>& lock, const std::vector<uint8_t>& bytes) {
  for (size_t offset = 0; offset < bytes.size();) {
    const size_t length =
        AlsaSysexChunker::NextLength(bytes.data() + offset, bytes.size() - offset);
    if (!WaitUntil(lock, pacer_.ReadyAt(length, AlsaWirePacer::Clock::now()))) return ECANCELED;
    if (const int error = EmitSysex(lock, bytes.data() + offset, length)) return error;
    offset += length;
  }
  return WaitUntil(lock, pacer_.WireIdleAt()) ? 0 : ECANCELED;
}

int AlsaSender::EmitSysex(std::unique_lock<std::mutex>& lock, const uint8_t* data, size_t length) {
  for (int attempt = 0;; ++attempt) {
    const int error = output_.sysex(data, length);
    if (error == 0) {
      pacer_.Sent(length, AlsaWirePacer::Clock::now());
      TrackSysex(data, length);
      return 0;
    }
    if ((error != EAGAIN && error != ENOMEM) || attempt >= kRetries) return error;
    if (!WaitUntil(lock, AlsaWirePacer::Clock::now() + kRetryPause)) return ECANCELED;
  }
}

int AlsaSender::EmitShort(uint32_t packed) {
  const int wireBytes = AlsaShortCodec::MessageLength(static_cast<uint8_t>(packed));
  if (wireBytes == 0) return EINVAL;
  const int error = output_.shortMessage(packed);
  if (error) return error;
  pacer_.Sent(static_cast<size_t>(wireBytes), AlsaWirePacer::Clock::now());
  // Any status byte but a real-time one ends a SysEx on the wire.
  if (static_cast<uint8_t>(packed) < 0xF8) insideSysex_ = false;
  return 0;
}

// Sleeps until `when` or until Stop; false when stopping.
bool AlsaSender::WaitUntil(std::unique_lock<std::mutex>& lock,
                           AlsaWirePacer::Clock::time_point when) {
  return !wake_.wait_until(lock, when, [this] { return stopping_; });
}

void AlsaSender::TrackSysex(const uint8_t* data, size_t length) {
  for (size_t i = 0; i < length; ++i) {
    if (data[i] == kStartOfExclusive) insideSysex_ = true;
    if (data[i] == kEndOfExclusive) insideSysex_ = false;
  }
}

}  // namespace kelvora::midi
