#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

namespace kelvora::sim {

// What the sampler received, for tests and for a front end that shows the traffic.
struct LoggedMessage {
  static constexpr int kDataMessage = -1;  // type of a data message (it has no type byte)

  int type = 0;            // command type, or kDataMessage
  std::vector<int> words;  // the 12-bit parameter words; for a data message its word count
  int status = 0;          // the status it was answered with (0 also when no answer is due)
};

struct NoteEvent {
  int key = 0;
  int velocity = 0;  // 0: note off (or note on with velocity 0)
};

// A thread-safe record of the messages handled, the notes played and the program changes.
class SamplerLog {
 public:
  void AddMessage(LoggedMessage message);
  void AddNote(int key, int velocity);
  void AddProgramChange(int program);
  // A message that was not for the sampler, not understood, or lost to a fault.
  void CountIgnored();

  std::vector<LoggedMessage> Messages() const;
  std::vector<NoteEvent> Notes() const;
  std::vector<int> ProgramChanges() const;
  int64_t Ignored() const;
  void Clear();

 private:
  mutable std::mutex mutex_;
  std::vector<LoggedMessage> messages_;
  std::vector<NoteEvent> notes_;
  std::vector<int> programs_;
  int64_t ignored_ = 0;
};

}  // namespace kelvora::sim
