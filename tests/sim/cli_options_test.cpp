// The command line of kelvora-sim: what each option sets and what is refused.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "kelvora-sim/ArgumentValues.h"
#include "kelvora-sim/CliOptions.h"
#include "kelvora-sim/OptionTable.h"

namespace kelvora::simcli::test {
namespace {

CliOptions Parsed(const std::vector<std::string>& arguments) {
  const ParseResult result = ParseArguments(arguments);
  EXPECT_EQ(result.error, "") << testing::PrintToString(arguments);
  return result.options;
}

std::string Refusal(const std::vector<std::string>& arguments) {
  return ParseArguments(arguments).error;
}

TEST(SimCliOptions, ValuesComeNextOrAfterEquals) {
  const CliOptions options =
      Parsed({"--stdio", "--channel=12", "--model", "ASR10", "--memory", "2M", "--empty", "--state",
              "a=b.kvsim", "--overview=whole", "--paced", "--ack-timeout", "0x100"});
  EXPECT_EQ(options.mode, Mode::Stdio);
  EXPECT_EQ(options.sim.channel, 12);
  EXPECT_EQ(options.sim.model, sim::SamplerModel::Asr10);
  EXPECT_EQ(options.sim.memoryWords, 2 * 1024 * 1024);
  EXPECT_FALSE(options.sim.demoContent);
  EXPECT_EQ(options.sim.stateFile, "a=b.kvsim");
  EXPECT_EQ(options.sim.overview, sim::OverviewReading::WholeRange);
  EXPECT_TRUE(options.sim.paced);
  EXPECT_EQ(options.sim.ackTimeoutMs, 256);
  EXPECT_EQ(Parsed({"--alsa", "--memory", "1280"}).sim.memoryWords, 1280);
  EXPECT_EQ(Parsed({"--alsa", "--memory=512k"}).sim.memoryWords, 512 * 1024);
}

TEST(SimCliOptions, FaultsFillThePlan) {
  const CliOptions options =
      Parsed({"--stdio", "--silent", "2", "--waits", "3", "--slow-down", "--force-status",
              "0x0F=20", "--force-status", "64=4", "--wrong-channel", "1", "--replace-byte",
              "7=0xF7", "--overlong-data", "10", "--cut-after", "100"});
  const sim::FaultPlan& plan = options.faults;
  EXPECT_EQ(plan.silentMessages, 2);
  EXPECT_EQ(plan.waitsBeforeAnswer, 3);
  EXPECT_TRUE(plan.slowDownEveryBlock);
  EXPECT_EQ(plan.forcedStatus, (std::map<int, int>{{0x0F, 20}, {0x40, 4}}));
  EXPECT_EQ(plan.wrongChannelMessages, 1);
  EXPECT_EQ(plan.byteIndex, 7);
  EXPECT_FALSE(plan.dropByte);
  EXPECT_EQ(plan.replacementByte, 0xF7);
  EXPECT_EQ(plan.overlongDataWords, 10);
  EXPECT_EQ(plan.cutMessageAfter, 100);
  const sim::FaultPlan dropped = Parsed({"--stdio", "--drop-byte", "0"}).faults;
  EXPECT_EQ(dropped.byteIndex, 0);
  EXPECT_TRUE(dropped.dropByte);
  const sim::FaultPlan none = Parsed({"--stdio"}).faults;
  EXPECT_EQ(none.byteIndex, -1);
  EXPECT_EQ(none.cutMessageAfter, -1);
}

TEST(SimCliOptions, RefusesWhatCannotBeUsed) {
  const std::vector<std::vector<std::string>> bad = {
      {},
      {"--channel", "1"},
      {"--stdio", "--alsa"},
      {"--stdio", "--name", "Mine"},
      {"--alsa", "--name="},
      {"--stdio", "--channel", "0"},
      {"--stdio", "--channel", "17"},
      {"--stdio", "--channel", "1.5"},
      {"--stdio", "--channel"},
      {"--stdio", "--model", "eps16"},
      {"--stdio", "--memory", "1000"},
      {"--stdio", "--memory", "768"},
      {"--stdio", "--memory", "9M"},
      {"--stdio", "--memory", "K"},
      {"--stdio", "--paced=yes"},
      {"--stdio", "--silent", "-1"},
      {"--stdio", "--silent", "0x-1"},
      {"--stdio", "--waits", "99999999999999999999"},
      {"--stdio", "--force-status", "64"},
      {"--stdio", "--force-status", "0x80=1"},
      {"--stdio", "--force-status", "64=4096"},
      {"--stdio", "--replace-byte", "3=256"},
      {"--stdio", "--drop-byte", "3", "--replace-byte", "4=0"},
      {"--stdio", "--ack-timeout", "0"},
      {"--stdio", "--overview", "all"},
      {"--stdio", "--state", ""},
      {"--stdio", "--bogus"},
      {"--stdio", "stray"},
  };
  for (const std::vector<std::string>& arguments : bad) {
    const std::string error = Refusal(arguments);
    EXPECT_NE(error, "") << testing::PrintToString(arguments);
    EXPECT_EQ(error.find('\n'), std::string::npos) << error;
  }
  EXPECT_EQ(Refusal({"--stdio", "--channel", "17"}), "--channel: '17' is not a number 1..16");
  EXPECT_EQ(Refusal({"--stdio", "--bogus=1"}), "unknown option --bogus");
}

// Arguments are taken in order: the first one that cannot be used is the one named, in the
// program's own words whatever the parser underneath would say.
TEST(SimCliOptions, TheFirstArgumentThatCannotBeUsedIsNamed) {
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"--stdio", "--bogus", "--channel", "99"}, "unknown option --bogus"},
      {{"--stdio", "--channel", "99", "--bogus"}, "--channel: '99' is not a number 1..16"},
      {{"stray", "--channel", "99"}, "unexpected argument 'stray'"},
      {{"--help", "-h"}, "unexpected argument '-h'"},
      {{"--stdio", "--"}, "unknown option --"},
      {{"--stdio", "--paced=yes"}, "--paced takes no value"},
      {{"--stdio", "--memory"}, "--memory needs WORDS"},
      {{"--stdio", "--state", ""}, "--state: the file name cannot be empty"},
      {{"--alsa", "--stdio"}, "--stdio: choose one of --stdio and --alsa"},
      {{"--stdio", "--replace-byte", "4=0", "--drop-byte", "3"},
       "--drop-byte: choose one of --drop-byte and --replace-byte"},
  };
  for (const auto& [arguments, error] : cases) {
    EXPECT_EQ(Refusal(arguments), error) << testing::PrintToString(arguments);
  }
  EXPECT_EQ(Parsed({"--stdio", "--channel", "3", "--channel=4"}).sim.channel, 4) << "the last";
  EXPECT_EQ(Parsed({"--alsa", "--name", "--stdio"}).portName, "--stdio") << "a value as given";
}

// Every option once, in the table's order under its group, its text in a column of its own.
TEST(SimCliOptions, HelpListsEveryOptionOnceUnderItsGroup) {
  EXPECT_TRUE(Parsed({"--help"}).help);
  const std::string help = HelpText();
  EXPECT_EQ(help.rfind("Usage: kelvora-sim --stdio|--alsa [options]\nA simulated Ensoniq", 0), 0u);
  EXPECT_NE(help.find("\n  --replace-byte INDEX=VALUE  send VALUE instead"), std::string::npos);
  std::vector<std::string> listed, expected;
  std::string group;
  for (const OptionEntry& entry : OptionTable()) {
    if (group != entry.group) expected.push_back("\n" + (group = entry.group) + ":");
    expected.push_back(entry.name);
  }
  std::istringstream lines(help);
  for (std::string line, previous; std::getline(lines, line); previous = line) {
    EXPECT_LE(line.size(), 99u) << line;
    if (line.rfind("  --", 0) == 0) listed.push_back(line.substr(2, line.find(' ', 2) - 2));
    if (!line.empty() && line.back() == ':') listed.push_back(previous + "\n" + line);
    if (line.rfind("   ", 0) == 0) {
      EXPECT_EQ(line.find_first_not_of(' '), 30u) << line;
    }
  }
  EXPECT_EQ(listed, expected);
}

TEST(SimCliOptions, PortIsNamedAfterTheModelUnlessNamed) {
  EXPECT_EQ(PortName(Parsed({"--alsa"})), "Simulated EPS-16 PLUS");
  EXPECT_EQ(PortName(Parsed({"--alsa", "--model", "asr10"})), "Simulated ASR-10");
  EXPECT_EQ(PortName(Parsed({"--alsa", "--name", "Bench EPS"})), "Bench EPS");
}

TEST(SimCliOptions, NumbersAreDecimalOrHexadecimal) {
  int64_t value = 0;
  EXPECT_TRUE(ReadNumber("0x7f", value));
  EXPECT_EQ(value, 127);
  EXPECT_TRUE(ReadNumber("-12", value));
  EXPECT_EQ(value, -12);
  for (const char* bad : {"", "0x", "x1", "12a", " 1", "+1", "0x+1", "1e3"}) {
    EXPECT_FALSE(ReadNumber(bad, value)) << bad;
  }
}

}  // namespace
}  // namespace kelvora::simcli::test
