#include "diagnostics/DebugSerialSink.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace kelvora::diagnostics {

std::string TDebugSerialSink::PortPath() {
  const char* overridden = std::getenv("KELVORA_DEBUG_SERIAL");
  return overridden != nullptr && *overridden != '\0' ? overridden : kDefaultPort;
}

TDebugSerialSink::~TDebugSerialSink() { Release(); }

bool TDebugSerialSink::Open(const std::string& device) {
  Release();
  // Non-blocking while opening, so a port without carrier cannot hang the open.
  fd_ = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd_ < 0) return false;
  if (!::isatty(fd_) || ::ioctl(fd_, TIOCEXCL) != 0 || !Configure()) {
    Release();
    return false;
  }
  int flags = ::fcntl(fd_, F_GETFL);
  if (flags < 0 || ::fcntl(fd_, F_SETFL, flags & ~O_NONBLOCK) != 0) {
    Release();
    return false;
  }
  return true;
}

bool TDebugSerialSink::Configure() {
  termios settings{};
  if (::tcgetattr(fd_, &settings) != 0) return false;
  ::cfmakeraw(&settings);
  settings.c_cflag &= ~(PARENB | CSTOPB | CSIZE | CRTSCTS);
  settings.c_cflag |= CS8 | CLOCAL | CREAD;
  settings.c_iflag &= ~(IXON | IXOFF | IXANY);
  if (::cfsetispeed(&settings, B19200) != 0 || ::cfsetospeed(&settings, B19200) != 0) return false;
  return ::tcsetattr(fd_, TCSANOW, &settings) == 0;
}

void TDebugSerialSink::Write(std::string_view text) {
  const char* next = text.data();
  size_t left = text.size();
  while (fd_ >= 0 && left > 0) {
    ssize_t written = ::write(fd_, next, left);
    if (written < 0) {
      if (errno == EINTR) continue;
      return;
    }
    next += written;
    left -= static_cast<size_t>(written);
  }
}

void TDebugSerialSink::Release() {
  if (fd_ < 0) return;
  ::ioctl(fd_, TIOCNXCL);
  ::close(fd_);
  fd_ = -1;
}

}  // namespace kelvora::diagnostics
