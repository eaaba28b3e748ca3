#include "kelvora-sim/Report.h"

#include <unistd.h>

#include <cerrno>

namespace kelvora::simcli {

void Report(const std::string& line) {
  const std::string text = "kelvora-sim: " + line + "\n";
  size_t written = 0;
  while (written < text.size()) {
    const ssize_t n = write(STDERR_FILENO, text.data() + written, text.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;  // nowhere left to say it
    written += static_cast<size_t>(n);
  }
}

}  // namespace kelvora::simcli
