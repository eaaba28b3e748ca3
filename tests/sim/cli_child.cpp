#include "cli_child.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

extern char** environ;

namespace kelvora::simcli::test {

namespace {

using Clock = std::chrono::steady_clock;

int MillisecondsLeft(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  return static_cast<int>(std::max<int64_t>(left.count(), 0));
}

void CloseFd(int& fd) {
  if (fd >= 0) close(fd);
  fd = -1;
}

}  // namespace

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments) {
  int in[2], out[2], err[2];
  if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0) return;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
  std::vector<char*> argv{const_cast<char*>(program.c_str())};
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  if (posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
  posix_spawn_file_actions_destroy(&actions);
  close(in[0]);
  close(out[1]);
  close(err[1]);
  input_ = in[1];
  output_fd_ = out[0];
  error_fd_ = err[0];
  signal(SIGPIPE, SIG_IGN);  // a child that has gone is a failed Write, not the test's end
}

ChildProcess::~ChildProcess() {
  if (pid_ > 0) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  CloseFd(input_);
  CloseFd(output_fd_);
  CloseFd(error_fd_);
}

bool ChildProcess::Write(const Bytes& bytes) {
  size_t written = 0;
  while (input_ >= 0 && written < bytes.size()) {
    const ssize_t n = write(input_, bytes.data() + written, bytes.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    written += static_cast<size_t>(n);
  }
  return written == bytes.size();
}

void ChildProcess::CloseInput() { CloseFd(input_); }

void ChildProcess::Signal(int signal) {
  if (pid_ > 0) kill(pid_, signal);
}

Bytes ChildProcess::ReadMessage(std::chrono::milliseconds limit) {
  size_t end = 0;
  const auto whole = [&] {
    if (output_.empty()) return false;
    if (output_.front() != 0xF0) {
      end = std::find(output_.begin(), output_.end(), 0xF0) - output_.begin();
      return true;
    }
    const auto f7 = std::find(output_.begin(), output_.end(), 0xF7);
    end = f7 == output_.end() ? 0 : static_cast<size_t>(f7 - output_.begin()) + 1;
    return end > 0;
  };
  if (!PumpUntil(Clock::now() + limit, whole)) return {};
  Bytes message(output_.begin(), output_.begin() + static_cast<std::ptrdiff_t>(end));
  output_.erase(output_.begin(), output_.begin() + static_cast<std::ptrdiff_t>(end));
  return message;
}

bool ChildProcess::WaitForError(const std::string& text, std::chrono::milliseconds limit) {
  return PumpUntil(Clock::now() + limit, [&] { return error_.find(text) != std::string::npos; });
}

int ChildProcess::Finish(std::chrono::milliseconds limit) {
  if (pid_ <= 0) return -1;
  CloseInput();
  const bool closed =
      PumpUntil(Clock::now() + limit, [&] { return output_fd_ < 0 && error_fd_ < 0; });
  if (!closed) kill(pid_, SIGKILL);
  int status = 0;
  waitpid(pid_, &status, 0);
  pid_ = -1;
  return closed && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

template <class Done>
bool ChildProcess::PumpUntil(Clock::time_point deadline, Done done) {
  while (!done()) {
    pollfd fds[2] = {{output_fd_, POLLIN, 0}, {error_fd_, POLLIN, 0}};
    if (output_fd_ < 0 && error_fd_ < 0) return false;
    const int ready = poll(fds, 2, MillisecondsLeft(deadline));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return false;
    if (fds[0].revents) ReadSome(output_fd_, nullptr, &output_);
    if (fds[1].revents) ReadSome(error_fd_, &error_, nullptr);
  }
  return true;
}

// Appends what one read gives; closes the pipe at its end.
bool ChildProcess::ReadSome(int& fd, std::string* text, Bytes* bytes) {
  uint8_t buffer[4096];
  const ssize_t n = read(fd, buffer, sizeof buffer);
  if (n < 0 && errno == EINTR) return true;
  if (n <= 0) {
    CloseFd(fd);
    return false;
  }
  if (text) text->append(reinterpret_cast<const char*>(buffer), static_cast<size_t>(n));
  if (bytes) bytes->insert(bytes->end(), buffer, buffer + n);
  return true;
}

}  // namespace kelvora::simcli::test
