// The support library's scoped seams: whatever a test installs for the whole process is put back
// as it was, however the test leaves its scope.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <cstdlib>
#include <stdexcept>

#include "midi/Clock.h"
#include "midi/MidiSystem.h"
#include "support/FakeClock.h"
#include "support/NamedDevices.h"
#include "support/ScopedClock.h"
#include "support/ScopedDriver.h"
#include "support/ScopedEnv.h"
#include "support/SimSession.h"
#include "support/TempFolder.h"

namespace kelvora::testing {
namespace {

NamedDevices Named(const std::string& name) {
  NamedDevices devices;
  devices.inputs = {name};
  return devices;
}

std::string InputZero() {
  midi::MidiDriver& driver = midi::CurrentDriver();
  return driver.InputCount() > 0 ? driver.InputName(0) : "none";
}

TEST(ScopedDriverTest, NestedDriversComeOffInTurnDownToNoDevices) {
  NamedDevices outer = Named("outer"), inner = Named("inner");
  {
    ScopedDriver useOuter(outer);
    {
      ScopedDriver useInner(inner);
      EXPECT_EQ(InputZero(), "inner");
    }
    EXPECT_EQ(InputZero(), "outer");
  }
  EXPECT_EQ(InputZero(), "none");
  EXPECT_FALSE(midi::CurrentDriver().OpenInput(0, 0) == 0) << "the empty driver opens nothing";
}

TEST(ScopedDriverTest, AnExceptionLeavingTheScopeStillRestores) {
  NamedDevices devices = Named("thrown");
  try {
    ScopedDriver use(devices);
    throw std::runtime_error("test");
  } catch (const std::runtime_error&) {
  }
  EXPECT_EQ(InputZero(), "none");
}

TEST(ScopedClockTest, NestedClocksComeOffInTurnDownToTheSteadyClock) {
  FakeClock outer(1000), inner(5000);
  {
    ScopedClock useOuter(outer);
    {
      ScopedClock useInner(inner);
      EXPECT_EQ(midi::TickCount(), 5000u);
    }
    EXPECT_EQ(midi::TickCount(), 1000u);
    midi::SleepMs(250);
    EXPECT_EQ(outer.Now(), 1250u) << "sleeping moves the installed clock";
  }
  EXPECT_NE(&midi::CurrentClock(), &outer);
  EXPECT_NE(&midi::CurrentClock(), &inner);
}

TEST(SimSessionTest, InstallsItsDriverAndClockOnlyWhileItLives) {
  {
    SimSession session;
    EXPECT_EQ(&midi::CurrentClock(), &session.clock);
    EXPECT_EQ(&midi::CurrentDriver(), session.driver.get());
    EXPECT_TRUE(session.Connect());
    session.UseRealTime();
    EXPECT_NE(&midi::CurrentClock(), &session.clock);
  }
  EXPECT_EQ(InputZero(), "none");
}

TEST(TempFolderTest, EachIsNewAndGoesWithEverythingInIt) {
  std::string path;
  {
    TempFolder first, second;
    path = first.Path();
    EXPECT_NE(first.Path(), second.Path());
    EXPECT_TRUE(QDir().mkpath(QString::fromStdString(first / "deep/er")));
    QFile file(QString::fromStdString(first / "deep/er/file.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("content");
  }
  EXPECT_FALSE(QDir(QString::fromStdString(path)).exists());
}

TEST(ScopedEnvTest, SetsOrUnsetsAndPutsTheOldValueBack) {
  ::setenv("KELVORA_SUPPORT_TEST", "before", 1);
  {
    ScopedEnv unset("KELVORA_SUPPORT_TEST", std::nullopt);
    EXPECT_EQ(std::getenv("KELVORA_SUPPORT_TEST"), nullptr);
    ScopedEnv set("KELVORA_SUPPORT_TEST", "during");
    EXPECT_STREQ(std::getenv("KELVORA_SUPPORT_TEST"), "during");
  }
  EXPECT_STREQ(std::getenv("KELVORA_SUPPORT_TEST"), "before");
  ::unsetenv("KELVORA_SUPPORT_TEST");
}

}  // namespace
}  // namespace kelvora::testing
