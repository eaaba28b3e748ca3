#pragma once

#include <gtest/gtest.h>

#include "support/DebugLogCapture.h"
#include "support/SimSession.h"

namespace kelvora::testing {

// A GoogleTest fixture that is a SimSession for each test: the sampler starts empty unless a
// test derives and overrides Options(), or MakeDriver() for a driver of its own.
class SessionFixture : public ::testing::Test, public SimSession {
 protected:
  SessionFixture() : SimSession(NotStarted{}) {}
  void SetUp() override { Start(Options()); }
  void TearDown() override { Stop(); }
  virtual sim::SimOptions Options() { return EmptyOptions(); }
};

}  // namespace kelvora::testing
