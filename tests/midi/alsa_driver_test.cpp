// The driver on a machine without an ALSA sequencer, as on CI.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <string>
#include <vector>

#include "midi/AlsaMidiDriver.h"

namespace kelvora::midi {
namespace {

class AlsaDriverWithoutSequencer : public testing::Test {
 protected:
  void SetUp() override {
    if (access("/dev/snd/seq", F_OK) == 0) {
      GTEST_SKIP() << "/dev/snd/seq exists: these cases need a machine without a sequencer";
    }
  }
  AlsaMidiDriver::Reports Recording() {
    return {[this](int slot, OutEvent event) {
              reports.push_back("out " + std::to_string(slot) + " " +
                                std::to_string(static_cast<int>(event)));
            },
            [this](int slot, InEvent event, const uint8_t*, size_t, uint32_t) {
              reports.push_back("in " + std::to_string(slot) + " " +
                                std::to_string(static_cast<int>(event)));
            }};
  }
  std::vector<std::string> reports;
};

TEST_F(AlsaDriverWithoutSequencer, HasNoDevicesAndFailsEveryOpenWithASystemErrorQuietly) {
  testing::internal::CaptureStderr();
  {
    AlsaMidiDriver driver(Recording());
    EXPECT_EQ(driver.InputCount(), 0);
    EXPECT_EQ(driver.OutputCount(), 0);
    EXPECT_EQ(driver.InputName(0), "");
    EXPECT_EQ(driver.OutputName(-1), "");
    const int output = driver.OpenOutput(0, 0);
    const int input = driver.OpenInput(0, 0);
    EXPECT_NE(output, 0);
    EXPECT_NE(input, 0);
    EXPECT_EQ(output, ENOENT);  // what opening the missing device file gives
    EXPECT_NE(driver.OpenOutput(3, 15), 0);
    driver.CloseOutput(0);  // never opened: nothing to report
    driver.CloseInput(0);
  }
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_TRUE(reports.empty());
}

TEST_F(AlsaDriverWithoutSequencer, CallsOnSlotsThatAreNotOpenFailCleanly) {
  AlsaMidiDriver driver(Recording());
  const uint8_t message[] = {0xF0, 0x0F, 0x03, 0xF7};
  EXPECT_EQ(driver.SendShort(0, 0x403C90), EBADF);
  EXPECT_EQ(driver.SendShort(16, 0x403C90), EBADF);
  driver.SendLong(0, message, sizeof message);
  driver.SendLong(-1, message, sizeof message);
  driver.StartInput(0);
  driver.StopInput(99);
  driver.ResetInput(-3);
  EXPECT_EQ(driver.OpenOutput(0, 16), EINVAL);
  EXPECT_EQ(driver.OpenInput(0, -1), EINVAL);
  EXPECT_TRUE(reports.empty());
}

}  // namespace
}  // namespace kelvora::midi
