#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "diagnostics/Debugdevice.h"
#include "support/ScopedEnv.h"
#include "support/TempFolder.h"

namespace kelvora::diagnostics::test {

inline const std::string kStartBanner =
    "**************************\r\n"
    "* Start of debug session *\r\n"
    "**************************\r\n";
inline const std::string kEndBanner =
    "**************************\r\n"
    "*  End of debug session  *\r\n"
    "**************************\r\n"
    "\r\n"
    "\r\n";

using kelvora::testing::ScopedEnv;
using kelvora::testing::TempFolder;

std::string ReadWhole(const std::string& path);
void WriteWhole(const std::string& path, const std::string& text);
bool Exists(const std::string& path);

// Every test starts and ends with the class-wide log closed on dmNull, and the log file's
// folders inside a temporary folder: program/ (through KELVORA_DEBUG_DIR) and state/.
class LogTest : public ::testing::Test {
 protected:
  LogTest();
  ~LogTest() override;

  std::string ProgramLog() const { return temp_ / "program/Debug.txt"; }
  std::string StateLog() const { return temp_ / "state/kelvora/Debug.txt"; }
  void StartSession(TDebugMedia media);

  TempFolder temp_;
  TDebugDevice log_;
  ScopedEnv programDir_;
  ScopedEnv stateDir_;
};

}  // namespace kelvora::diagnostics::test
