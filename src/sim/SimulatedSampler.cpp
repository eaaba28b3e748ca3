#include "sim/SimulatedSampler.h"

#include <algorithm>
#include <filesystem>

#include "sim/DemoContent.h"
#include "sim/SamplerStateFile.h"
#include "sim/WireTiming.h"

namespace kelvora::sim {

namespace {

// Bytes of a packed short message: program change and channel pressure carry one data byte.
size_t ShortMessageSize(uint8_t status) {
  const uint8_t kind = status & 0xF0;
  return kind == 0xC0 || kind == 0xD0 ? 2 : 3;
}

}  // namespace

SimulatedSampler::SimulatedSampler(const SimOptions& options, Output output, SimTime* time)
    : options_(NormalizedOptions(options)),
      output_(std::move(output)),
      ownTime_(time ? nullptr : std::make_unique<SteadySimTime>()),
      time_(time ? time : ownTime_.get()),
      memory_(options_.model, options_.memoryWords),
      engine_(memory_, options_, log_,
              [this](SamplerEngine::Output answer) { answers_.push_back(std::move(answer)); }) {
  LoadInitialMemory();
}

SimulatedSampler::~SimulatedSampler() { Stop(); }

void SimulatedSampler::LoadInitialMemory() {
  std::error_code code;
  if (!options_.stateFile.empty() && std::filesystem::exists(options_.stateFile, code)) {
    std::string error;
    if (SamplerStateFile::Load(memory_, options_.stateFile, error)) return;
    stateError_ = error;
    saveAllowed_ = false;  // keep the file the user has for a look, never replace it silently
  }
  if (options_.demoContent) LoadDemoContent(memory_);
}

void SimulatedSampler::Start() {
  std::lock_guard lock(queueMutex_);
  if (thread_.joinable() || stop_) return;
  thread_ = std::thread(&SimulatedSampler::Run, this);
}

void SimulatedSampler::Stop() {
  {
    std::lock_guard lock(queueMutex_);
    if (stop_) return;
    stop_ = true;
    queue_.clear();
  }
  time_->Interrupt();
  queueChanged_.notify_all();
  if (thread_.joinable()) thread_.join();
  SaveState();
}

void SimulatedSampler::Receive(const uint8_t* data, size_t size) {
  if (size == 0) return;
  Item item;
  item.bytes.assign(data, data + size);
  item.arrivalUs = time_->NowUs();
  Post(std::move(item));
}

void SimulatedSampler::ReceiveStartedAt(const uint8_t* data, size_t size, uint32_t startTick) {
  if (size == 0) return;
  Item item;
  item.bytes.assign(data, data + size);
  item.arrivalUs = time_->NowUs();
  item.dated = true;
  item.startTick = startTick;
  Post(std::move(item));
}

void SimulatedSampler::ReceiveShort(uint32_t packed) {
  const uint8_t bytes[3] = {static_cast<uint8_t>(packed & 0xFF),
                            static_cast<uint8_t>((packed >> 8) & 0x7F),
                            static_cast<uint8_t>((packed >> 16) & 0x7F)};
  if (bytes[0] < 0x80 || bytes[0] >= 0xF0) return;  // not a channel message
  Receive(bytes, ShortMessageSize(bytes[0]));
}

void SimulatedSampler::SetFaults(const FaultPlan& plan) {
  Item item;
  item.isFaults = true;
  item.faults = plan;
  Post(std::move(item));
}

void SimulatedSampler::Post(Item item) {
  {
    std::lock_guard lock(queueMutex_);
    if (stop_) return;
    queue_.push_back(std::move(item));
  }
  queueChanged_.notify_all();
}

bool SimulatedSampler::WaitIdle(std::chrono::milliseconds limit) {
  std::unique_lock lock(queueMutex_);
  return queueChanged_.wait_for(lock, limit, [this] { return queue_.empty() && !busy_; });
}

void SimulatedSampler::Run() {
  for (;;) {
    Item item;
    {
      std::unique_lock lock(queueMutex_);
      queueChanged_.wait(lock, [this] { return stop_ || !queue_.empty(); });
      if (stop_) return;
      item = std::move(queue_.front());
      queue_.pop_front();
      busy_ = true;
    }
    Process(item);
    {
      std::lock_guard lock(queueMutex_);
      busy_ = false;
    }
    queueChanged_.notify_all();
  }
}

void SimulatedSampler::Process(Item& item) {
  if (item.isFaults) {
    std::lock_guard lock(memoryMutex_);
    engine_.SetFaults(item.faults);
    return;
  }
  if (item.dated) {
    FeedStartedAt(item.bytes.data(), item.bytes.size(), item.startTick);
    return;
  }
  if (!options_.paced) {
    Feed(item.bytes.data(), item.bytes.size());
    return;
  }
  // Paced, the bytes come in piece by piece as the wire carries them, so that a message is
  // dated by when it began to arrive (a long block may take longer than the ACK time limit).
  const int64_t start = std::max(item.arrivalUs, inputFreeUs_);
  inputFreeUs_ = start + WireTimeUs(item.bytes.size());
  for (size_t offset = 0; offset < item.bytes.size(); offset += kPacedPieceBytes) {
    const size_t n = std::min(kPacedPieceBytes, item.bytes.size() - offset);
    time_->SleepUntilUs(start + WireTimeUs(offset + n));
    if (Stopping()) return;
    Feed(item.bytes.data() + offset, n);
  }
}

void SimulatedSampler::Feed(const uint8_t* data, size_t size) {
  std::vector<SamplerEngine::Output> answers;
  {
    std::lock_guard lock(memoryMutex_);
    engine_.Feed(data, size);
    answers.swap(answers_);
  }
  TransmitAll(answers);
}

void SimulatedSampler::FeedStartedAt(const uint8_t* data, size_t size, uint32_t startTick) {
  std::vector<SamplerEngine::Output> answers;
  {
    std::lock_guard lock(memoryMutex_);
    engine_.FeedStartedAt(data, size, startTick);
    answers.swap(answers_);
  }
  TransmitAll(answers);
}

void SimulatedSampler::TransmitAll(const std::vector<SamplerEngine::Output>& answers) {
  for (const SamplerEngine::Output& answer : answers) {
    if (Stopping()) return;
    Transmit(answer);
  }
}

// Unpaced, a message goes on whole once its processing time is over; paced, it also waits for
// the wire to be free and goes on piece by piece as its bytes would arrive.
void SimulatedSampler::Transmit(const SamplerEngine::Output& message) {
  const std::vector<uint8_t>& bytes = message.bytes;
  if (bytes.empty()) return;
  int64_t ready = time_->NowUs() + message.delayUs;
  if (!options_.paced) {
    if (message.delayUs > 0) time_->SleepUntilUs(ready);
    output_(bytes.data(), bytes.size());
    return;
  }
  ready = std::max(ready, outputFreeUs_);
  outputFreeUs_ = ready + WireTimeUs(bytes.size());
  for (size_t offset = 0; offset < bytes.size(); offset += kPacedPieceBytes) {
    const size_t n = std::min(kPacedPieceBytes, bytes.size() - offset);
    time_->SleepUntilUs(ready + WireTimeUs(offset + n));
    if (Stopping()) return;
    output_(bytes.data() + offset, n);
  }
}

bool SimulatedSampler::Stopping() {
  std::lock_guard lock(queueMutex_);
  return stop_;
}

std::string SimulatedSampler::StateError() const {
  std::lock_guard lock(stateMutex_);
  return stateError_;
}

bool SimulatedSampler::SaveState() {
  if (options_.stateFile.empty()) return true;
  std::lock_guard stateLock(stateMutex_);
  if (!saveAllowed_) return false;
  std::string error;
  std::lock_guard lock(memoryMutex_);
  if (SamplerStateFile::Save(memory_, options_.stateFile, error)) return true;
  stateError_ = error;
  return false;
}

}  // namespace kelvora::sim
