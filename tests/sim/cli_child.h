#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace kelvora::simcli::test {

using Bytes = std::vector<uint8_t>;
using namespace std::chrono_literals;

// A program started with pipes on its standard input, output and error, read as the test goes.
// Limits are generous: the suite also runs the program under the sanitizers.
class ChildProcess {
 public:
  ChildProcess(const std::string& program, const std::vector<std::string>& arguments);
  ~ChildProcess();  // kills a child still running
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool Started() const { return pid_ > 0; }
  bool Write(const Bytes& bytes);
  void CloseInput();
  void Signal(int signal);

  // The next whole SysEx message (F0 .. F7) on standard output; empty when none comes in time.
  // Anything on standard output before an F0 is returned alone, so that a test sees it.
  Bytes ReadMessage(std::chrono::milliseconds limit = 10s);
  // True once standard error holds `text`.
  bool WaitForError(const std::string& text, std::chrono::milliseconds limit = 10s);
  // Waits for the program to end, reading all it writes: its exit code, or -1 when it was
  // killed by a signal or did not end in time (then it is killed).
  int Finish(std::chrono::milliseconds limit = 30s);

  const std::string& Error() const { return error_; }
  // Standard output not yet taken as messages.
  const Bytes& Output() const { return output_; }

 private:
  // Reads what is there until the deadline or until `done` holds; false on timeout.
  template <class Done>
  bool PumpUntil(std::chrono::steady_clock::time_point deadline, Done done);
  bool ReadSome(int& fd, std::string* text, Bytes* bytes);

  pid_t pid_ = -1;
  int input_ = -1;
  int output_fd_ = -1;
  int error_fd_ = -1;
  Bytes output_;
  std::string error_;
};

}  // namespace kelvora::simcli::test
