#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "diagnostics/Debugdevice.h"
#include "diagnostics/log_support.h"

namespace kelvora::diagnostics::test {
namespace {

// A pseudo-terminal stands in for the serial port: the log opens its slave side, the test
// reads what arrives on the master side.
class SerialLog : public LogTest {
 protected:
  void SetUp() override {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master_, 0);
    ASSERT_EQ(::grantpt(master_), 0);
    ASSERT_EQ(::unlockpt(master_), 0);
    port_.emplace("KELVORA_DEBUG_SERIAL", std::string(::ptsname(master_)));
  }
  void TearDown() override {
    log_.Close();
    if (master_ >= 0) ::close(master_);
  }

  // Reads until `count` bytes arrived or the port stays silent for two seconds.
  std::string Receive(size_t count) {
    std::string text;
    char buffer[256];
    pollfd waiting{master_, POLLIN, 0};
    while (text.size() < count && ::poll(&waiting, 1, 2000) > 0) {
      ssize_t got = ::read(master_, buffer, sizeof buffer);
      if (got <= 0) break;
      text.append(buffer, static_cast<size_t>(got));
    }
    return text;
  }

  int master_ = -1;
  std::optional<ScopedEnv> port_;
};

TEST_F(SerialLog, SessionSendsBannersAndLinesUnchanged) {
  StartSession(dmSerial);
  ASSERT_TRUE(TDebugDevice::SessionOpen());
  WriteDebugLine(&log_, "Delay set to100");
  log_.Close();

  std::string expected = kStartBanner + "Delay set to100\r\n" + kEndBanner;
  EXPECT_EQ(Receive(expected.size()), expected);
}

TEST_F(SerialLog, PortRunsAt19200Baud8N1WithoutFlowControl) {
  StartSession(dmSerial);
  ASSERT_TRUE(TDebugDevice::SessionOpen());
  termios settings{};
  ASSERT_EQ(::tcgetattr(master_, &settings), 0);
  EXPECT_EQ(::cfgetospeed(&settings), B19200);
  EXPECT_EQ(::cfgetispeed(&settings), B19200);
  EXPECT_EQ(settings.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
  EXPECT_EQ(settings.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
  EXPECT_EQ(settings.c_iflag & (IXON | IXOFF), 0u);
  EXPECT_EQ(settings.c_oflag & OPOST, 0u) << "CR LF must leave untranslated";
}

TEST_F(SerialLog, MissingPortOrNonTerminalLeavesTheSessionClosed) {
  WriteWhole(temp_ / "plain-file", "");
  for (const std::string& path : {temp_ / "no-such-port", temp_ / "plain-file"}) {
    ScopedEnv port("KELVORA_DEBUG_SERIAL", path);
    StartSession(dmSerial);
    EXPECT_FALSE(TDebugDevice::SessionOpen()) << path;
    WriteDebugLine(&log_, "dropped");
  }
  EXPECT_EQ(ReadWhole(temp_ / "plain-file"), "");
}

}  // namespace
}  // namespace kelvora::diagnostics::test
