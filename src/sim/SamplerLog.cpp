#include "sim/SamplerLog.h"

namespace kelvora::sim {

void SamplerLog::AddMessage(LoggedMessage message) {
  std::lock_guard lock(mutex_);
  messages_.push_back(std::move(message));
}

void SamplerLog::AddNote(int key, int velocity) {
  std::lock_guard lock(mutex_);
  notes_.push_back({key, velocity});
}

void SamplerLog::AddProgramChange(int program) {
  std::lock_guard lock(mutex_);
  programs_.push_back(program);
}

void SamplerLog::CountIgnored() {
  std::lock_guard lock(mutex_);
  ++ignored_;
}

std::vector<LoggedMessage> SamplerLog::Messages() const {
  std::lock_guard lock(mutex_);
  return messages_;
}

std::vector<NoteEvent> SamplerLog::Notes() const {
  std::lock_guard lock(mutex_);
  return notes_;
}

std::vector<int> SamplerLog::ProgramChanges() const {
  std::lock_guard lock(mutex_);
  return programs_;
}

int64_t SamplerLog::Ignored() const {
  std::lock_guard lock(mutex_);
  return ignored_;
}

void SamplerLog::Clear() {
  std::lock_guard lock(mutex_);
  messages_.clear();
  notes_.clear();
  programs_.clear();
  ignored_ = 0;
}

}  // namespace kelvora::sim
