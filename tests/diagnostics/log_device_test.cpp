#include <gtest/gtest.h>

#include <memory>

#include "diagnostics/DebugMonitor.h"
#include "diagnostics/Debugdevice.h"
#include "diagnostics/DebuggingData.h"
#include "diagnostics/log_support.h"

namespace kelvora::diagnostics::test {
namespace {

using DebugLog = LogTest;

TEST_F(DebugLog, FileSessionHoldsTheLinesBetweenTheBanners) {
  StartSession(dmFile);
  ASSERT_TRUE(TDebugDevice::SessionOpen());
  EXPECT_EQ(TDebugDevice::FilePath(), ProgramLog());

  WriteDebugLine(&log_, "State 3");
  log_.Write("f0 0f ");
  WriteDebugLine(nullptr, "");
  DebugLine("through the application's device");
  DebugWrite("tail");
  log_.Close();

  EXPECT_EQ(ReadWhole(ProgramLog()), kStartBanner + "State 3\r\nf0 0f \r\n" +
                                         "through the application's device\r\ntail" + kEndBanner);
  EXPECT_FALSE(TDebugDevice::SessionOpen());
}

TEST_F(DebugLog, LinesReachTheFileBeforeTheSessionEnds) {
  StartSession(dmFile);
  WriteDebugLine(&log_, "GetWaveSampleData(0,256)");
  EXPECT_EQ(ReadWhole(ProgramLog()), kStartBanner + "GetWaveSampleData(0,256)\r\n");
}

TEST_F(DebugLog, WritesOutsideASessionAreDropped) {
  log_.SetMedia(dmFile);
  WriteDebugLine(&log_, "before open");
  log_.Open();
  log_.Close();
  WriteDebugLine(&log_, "after close");
  log_.Write("after close");
  log_.Close();  // a second Close writes no second end banner

  EXPECT_EQ(ReadWhole(ProgramLog()), kStartBanner + kEndBanner);
}

TEST_F(DebugLog, MediumChangesOnlyWhileNoSessionIsOpen) {
  StartSession(dmNull);
  log_.SetMedia(dmFile);
  EXPECT_EQ(log_.Media(), dmNull);
  log_.Open();  // no-op: already open
  EXPECT_FALSE(Exists(ProgramLog()));

  log_.Close();
  log_.SetMedia(dmFile);
  EXPECT_EQ(log_.Media(), dmFile);
  EXPECT_EQ(TDebugDevice().Media(), dmFile) << "the medium is class-wide";
}

// A monitor in memory: present or not, holding what reached it.
class MemoryMonitor : public TDebugMonitor {
 public:
  explicit MemoryMonitor(std::string& received) : received_(received) {}
  bool Open() override { return present; }
  void Write(std::string_view text) override { received_ += text; }
  void Flush() override { received_ += "|flushed"; }
  bool present = true;

 private:
  std::string& received_;
};

// The log reaches a monitor only through the one a program installed.
TEST_F(DebugLog, WindowSessionsWriteToTheInstalledMonitor) {
  StartSession(dmWindow);
  EXPECT_FALSE(TDebugDevice::SessionOpen()) << "no monitor installed";
  log_.Close();

  std::string received;
  auto monitor = std::make_unique<MemoryMonitor>(received);
  MemoryMonitor& installed = *monitor;
  TDebugDevice::InstallMonitor(std::move(monitor));
  StartSession(dmWindow);
  ASSERT_TRUE(TDebugDevice::SessionOpen());
  std::string other;
  TDebugDevice::InstallMonitor(std::make_unique<MemoryMonitor>(other));  // ignored: session open
  WriteDebugLine(&log_, "State 3");
  log_.Close();
  EXPECT_EQ(received, kStartBanner + "State 3\r\n" + kEndBanner + "|flushed");
  EXPECT_EQ(other, "");

  installed.present = false;
  StartSession(dmWindow);
  EXPECT_FALSE(TDebugDevice::SessionOpen()) << "the monitor went away";
  TDebugDevice::InstallMonitor(nullptr);
}

TEST_F(DebugLog, NullMediumOpensASessionThatWritesNowhere) {
  StartSession(dmNull);
  EXPECT_TRUE(TDebugDevice::SessionOpen());
  WriteDebugLine(&log_, "nothing");
  log_.Close();
  EXPECT_FALSE(Exists(ProgramLog()));
  EXPECT_FALSE(Exists(StateLog()));
}

TEST_F(DebugLog, ASecondRunReplacesTheOldLog) {
  WriteWhole(ProgramLog(), "a log from an earlier run, longer than the new one\r\n");
  StartSession(dmFile);
  WriteDebugLine(&log_, "first run");
  log_.Close();
  StartSession(dmFile);
  WriteDebugLine(&log_, "second run");
  log_.Close();

  EXPECT_EQ(ReadWhole(ProgramLog()), kStartBanner + "second run\r\n" + kEndBanner);
}

TEST_F(DebugLog, UnwritableProgramFolderFallsBackToTheStateFolder) {
  WriteWhole(temp_ / "not-a-folder", "");
  ScopedEnv programDir("KELVORA_DEBUG_DIR", temp_ / "not-a-folder");
  StartSession(dmFile);
  WriteDebugLine(&log_, "installed program");
  log_.Close();

  EXPECT_EQ(TDebugDevice::FilePath(), StateLog());
  EXPECT_EQ(ReadWhole(StateLog()), kStartBanner + "installed program\r\n" + kEndBanner);
}

TEST_F(DebugLog, StateFolderDefaultsToTheHomeFolder) {
  ScopedEnv programDir("KELVORA_DEBUG_DIR", temp_ / "missing");
  ScopedEnv home("HOME", temp_ / "home");
  const std::optional<std::string> unsetOrRelative[] = {std::nullopt, "relative/state"};
  for (const std::optional<std::string>& state : unsetOrRelative) {
    ScopedEnv stateDir("XDG_STATE_HOME", state);
    StartSession(dmFile);
    log_.Close();
    EXPECT_EQ(TDebugDevice::FilePath(), temp_ / "home/.local/state/kelvora/Debug.txt");
    EXPECT_EQ(ReadWhole(TDebugDevice::FilePath()), kStartBanner + kEndBanner);
  }
}

TEST_F(DebugLog, NoWritableFolderLeavesTheSessionClosed) {
  WriteWhole(temp_ / "file", "");
  ScopedEnv programDir("KELVORA_DEBUG_DIR", temp_ / "missing");
  ScopedEnv stateDir("XDG_STATE_HOME", temp_ / "file");
  StartSession(dmFile);
  EXPECT_FALSE(TDebugDevice::SessionOpen());
  WriteDebugLine(&log_, "dropped");
  log_.SetMedia(dmNull);
  EXPECT_EQ(log_.Media(), dmNull) << "a failed open leaves the medium changeable";
}

TEST_F(DebugLog, DataModuleKeepsTheSessionStartUpOpened) {
  StartSession(dmFile);
  {
    TDebuggingData data;
    EXPECT_EQ(DebugDevice, &data.Debug);
    EXPECT_EQ(data.Debug.Media(), dmFile);
    DebugLine("from the module");
  }
  EXPECT_EQ(DebugDevice, nullptr);
  EXPECT_FALSE(TDebugDevice::SessionOpen());
  EXPECT_EQ(ReadWhole(ProgramLog()), kStartBanner + "from the module\r\n" + kEndBanner);
}

// A medium asked for that cannot be opened gives way to the state folder's file, never to a
// serial port, and the terminal is told where the log went.
TEST_F(DebugLog, DataModuleFallsBackToTheStateFolderAndSaysSo) {
  ScopedEnv port("KELVORA_DEBUG_SERIAL", temp_ / "no-port");
  ScopedEnv bus("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + (temp_ / "no-bus"));
  const std::pair<TDebugMedia, std::string> cases[] = {
      {dmWindow, "no monitor answers on the session bus"},
      {dmSerial, "the serial port " + (temp_ / "no-port") + " cannot be opened"}};
  for (const auto& [media, reason] : cases) {
    StartSession(media);
    ASSERT_FALSE(TDebugDevice::SessionOpen());
    ::testing::internal::CaptureStderr();
    {
      TDebuggingData data;
      EXPECT_EQ(data.Debug.Media(), dmStateFile);
      EXPECT_EQ(TDebugDevice::FilePath(), StateLog());
    }
    const std::string notice = "Debug log: " + reason + "; writing to " + StateLog();
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), notice + "\n");
    EXPECT_EQ(ReadWhole(StateLog()), kStartBanner + notice + "\r\n" + kEndBanner);
    log_.SetMedia(dmNull);
  }
}

TEST_F(DebugLog, DataModuleWithoutAnyWritableFolderSaysTheLogIsOff) {
  WriteWhole(temp_ / "file", "");
  ScopedEnv programDir("KELVORA_DEBUG_DIR", temp_ / "missing");
  ScopedEnv stateDir("XDG_STATE_HOME", temp_ / "file");
  StartSession(dmFile);
  ::testing::internal::CaptureStderr();
  {
    TDebuggingData data;
    EXPECT_FALSE(TDebugDevice::SessionOpen());
  }
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "Debug log: Debug.txt cannot be created beside the program or in the state folder; "
            "the log is off\n");
}

TEST_F(DebugLog, DataModuleKeepsTheLogOffWhenNoneWasAskedFor) {
  ScopedEnv port("KELVORA_DEBUG_SERIAL", temp_ / "no-port");
  ::testing::internal::CaptureStderr();
  {
    TDebuggingData data;
    EXPECT_EQ(data.Debug.Media(), dmNull);
  }
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  EXPECT_FALSE(Exists(StateLog()));
}

}  // namespace
}  // namespace kelvora::diagnostics::test
