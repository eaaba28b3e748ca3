#include "kelvora-sim/StreamWriter.h"

#include <limits.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "kelvora-sim/Report.h"

namespace kelvora::simcli {

void StreamWriter::Write(const uint8_t* data, size_t size) {
  size_t written = 0;
  while (written < size && !failed_.load()) {
    if (!WaitWritable()) return;  // shutting down: what is left is dropped
    // Once poll says a pipe has room, a write of up to PIPE_BUF bytes does not block, so a
    // shutdown is never stuck behind a reader that stopped reading.
    const size_t piece = std::min<size_t>(size - written, PIPE_BUF);
    const ssize_t n = write(fd_, data + written, piece);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (n <= 0) {
      Fail(n < 0 && errno == EPIPE ? "standard output was closed by its reader"
                                   : std::string("cannot write to standard output: ") +
                                         std::strerror(n < 0 ? errno : EIO));
      return;
    }
    written += static_cast<size_t>(n);
  }
}

// False when shutdown was requested before the output took more.
bool StreamWriter::WaitWritable() {
  pollfd fds[2] = {{fd_, POLLOUT, 0}, {latch_.Fd(), POLLIN, 0}};
  for (;;) {
    if (poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return true;  // let the write itself report what is wrong
    }
    if (fds[1].revents) return false;
    if (fds[0].revents) return true;
  }
}

void StreamWriter::Fail(const std::string& reason) {
  if (failed_.exchange(true)) return;
  Report(reason);
  latch_.Request();
}

}  // namespace kelvora::simcli
