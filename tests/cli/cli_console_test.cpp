#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "cli/Console.h"
#include "cli/ConsoleProgress.h"
#include "cli/ExitCode.h"
#include "cli/Interrupt.h"

namespace kelvora::cli {
namespace {

std::string Contents(std::FILE* file) {
  std::rewind(file);
  std::string text;
  for (int c; (c = std::fgetc(file)) != EOF;) text += static_cast<char>(c);
  return text;
}

TEST(ConsoleTest, AResultThatCannotBeWrittenIsRememberedAndNotesFollowQuiet) {
  std::FILE* full = std::fopen("/dev/full", "w");
  ASSERT_NE(full, nullptr);
  std::FILE* err = std::tmpfile();
  Console console(full, err);
  console.Note("working");
  EXPECT_FALSE(console.OutputFailed()) << "a note is no result";
  console.Line("3/1/2 Sine");
  EXPECT_TRUE(console.OutputFailed());
  console.SetQuiet(true);
  console.Note("dropped");
  console.Error("the reason");
  EXPECT_EQ(Contents(err), "working\nkelvora-cli: the reason\n");
  std::fclose(full);
  std::fclose(err);
}

TEST(ConsoleProgressTest, TheBarCountsSamplesRateAndTimeLeftForTheFileAndTheJob) {
  EXPECT_EQ(ConsoleProgress::BarText("3/1/2 Sine", 5000, 20000, 5.0, 5000, 20000, 5.0),
            "3/1/2 Sine [#####...............] 25% 5000/20000 samples 1000/s 0:15 left");
  EXPECT_EQ(ConsoleProgress::BarText("1/1/1 Kick", 1042, 1042, 1.0, 3042, 10000, 3.0),
            "1/1/1 Kick [####################] 100% 1042/1042 samples 1042/s 0:00 left, job "
            "0:07 left");
  EXPECT_EQ(ConsoleProgress::BarText("x", 0, 100, 0.0, 0, 100, 0.0),
            "x [....................] 0% 0/100 samples 0/s --:-- left");
  EXPECT_EQ(ConsoleProgress::Duration(75), "1:15");
  EXPECT_EQ(ConsoleProgress::Duration(3725), "1:02:05");
}

TEST(ConsoleProgressTest, OffATerminalEachFileIsOneLineAndCtrlCCancels) {
  std::FILE* err = std::tmpfile();
  Console console(stdout, err);
  ConsoleProgress progress(console, false);
  progress.JobStarted(2, 300);
  progress.FileStarted("1/1/1 A", 100);
  progress.FileProgress(50);
  progress.FileProgress(100);
  progress.FileFinished(true);
  progress.FileStarted("1/1/2 B", 200);
  progress.FileProgress(120);
  progress.FileFinished(false);
  progress.Note("kept from an earlier run");
  const std::string text = Contents(err);
  EXPECT_EQ(text.rfind("1/1/1 A: 100 samples in ", 0), 0u) << text;
  EXPECT_NE(text.find("\n1/1/2 B: stopped after 120 of 200 samples\nkept from an earlier run\n"),
            std::string::npos)
      << text;
  EXPECT_EQ(text.find('\r'), std::string::npos) << "no bar off a terminal";
  Interrupt::Clear();
  EXPECT_FALSE(progress.Cancelled());
  Interrupt::Request();
  EXPECT_TRUE(progress.Cancelled());
  Interrupt::Clear();
  std::fclose(err);
}

TEST(ConsoleProgressTest, OnATerminalTheBarIsRedrawnInPlaceAndClearedBeforeEachLine) {
  std::FILE* err = std::tmpfile();
  Console console(stdout, err);
  ConsoleProgress progress(console, true);
  progress.JobStarted(1, 100);
  progress.FileStarted("2/1/1 Kick", 100);
  progress.FileProgress(100);
  progress.FileFinished(true);
  const std::string text = Contents(err);
  EXPECT_EQ(text.rfind("\r\033[K2/1/1 Kick [....................] 0% 0/100", 0), 0u) << text;
  EXPECT_NE(text.find("\r\033[K2/1/1 Kick [####################] 100% 100/100"), std::string::npos)
      << "the last block is always drawn: " << text;
  EXPECT_NE(text.find("\r\033[K2/1/1 Kick: 100 samples in "), std::string::npos) << text;
  std::fclose(err);
}

TEST(ExitCodeTest, TheWorseOfTwoOutcomesIsTheOneAScriptHears) {
  EXPECT_EQ(WorseExit(kExitDone, kExitFailed), kExitFailed);
  EXPECT_EQ(WorseExit(kExitRefused, kExitFailed), kExitRefused);
  EXPECT_EQ(WorseExit(kExitInterrupted, kExitRefused), kExitInterrupted);
  EXPECT_EQ(WorseExit(kExitDone, kExitDone), kExitDone);
}

}  // namespace
}  // namespace kelvora::cli
