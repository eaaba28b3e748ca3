#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "CliRunner.h"

namespace kelvora::cli::test {
namespace {

class CliProgramTest : public ::testing::Test {
 protected:
  CliRunner cli;
};

TEST_F(CliProgramTest, DevicesListsTheSimulatedSamplerLastAndJsonHoldsTheSameDevices) {
  const CliResult text = cli.Run({"devices"});
  ASSERT_EQ(text.exitCode, 0) << text.err;
  const CliResult json = cli.Run({"--json", "devices"});
  ASSERT_EQ(json.exitCode, 0) << json.err;
  const QJsonArray devices = JsonOf(json)["devices"].toArray();
  ASSERT_FALSE(devices.isEmpty());
  const QJsonObject simulated = devices.last().toObject();
  EXPECT_EQ(simulated["name"].toString(), "Simulated EPS-16 PLUS");
  EXPECT_TRUE(simulated["simulated"].toBool());
  EXPECT_TRUE(simulated["input"].toBool() && simulated["output"].toBool());
  for (const QJsonValue device : devices) {
    const QJsonObject d = device.toObject();
    EXPECT_TRUE(Has(text.out, std::to_string(d["number"].toInt()) + "  ")) << text.out;
    EXPECT_TRUE(Has(text.out, d["name"].toString().toStdString())) << text.out;
  }
}

TEST_F(CliProgramTest, ProbeFindsTheSimulatedSamplerBySimByNameAndByNumber) {
  const QJsonArray devices = JsonOf(cli.Run({"--json", "devices"}))["devices"].toArray();
  const QString number = QString::number(devices.last().toObject()["number"].toInt());
  for (const QString& device : {QString("sim"), QString("Simulated EPS-16 PLUS  "), number}) {
    const CliResult probe = cli.Run({"--device", device, "probe"});
    EXPECT_EQ(probe.exitCode, 0) << device.toStdString() << ": " << probe.err;
    EXPECT_TRUE(Has(probe.out, "A sampler answers on 'Simulated EPS-16 PLUS', MIDI channel 1."))
        << probe.out;
  }
  const CliResult json = cli.Run({"probe", "--device", "sim", "--json"});
  EXPECT_EQ(json.exitCode, 0) << "global options may follow the subcommand: " << json.err;
  EXPECT_TRUE(JsonOf(json)["answering"].toBool());
}

TEST_F(CliProgramTest, UnusableCommandLinesEndWithExitTwoAndOneSentence) {
  const struct {
    QStringList arguments;
    std::string says;
  } cases[] = {
      {{}, "A subcommand is required"},
      {{"fly"}, "fly"},
      {{"--device", "sim", "--channel", "17", "probe"}, "--channel"},
      {{"--device", "sim", "--block-size", "100", "probe"}, "--block-size"},
      {{"--device", "No Such Synth", "probe"}, "No MIDI device is named \"No Such Synth\""},
      {{"--device", "99", "probe"}, "no MIDI device number 99"},
  };
  for (const auto& c : cases) {
    const CliResult result = cli.Run(c.arguments);
    EXPECT_EQ(result.exitCode, 2) << c.arguments.join(' ').toStdString();
    EXPECT_TRUE(Has(result.err, "kelvora-cli: ")) << result.err;
    EXPECT_TRUE(Has(result.err, c.says)) << result.err;
    EXPECT_TRUE(result.out.empty()) << result.out;
  }
}

TEST_F(CliProgramTest, HelpStatesSlotsKeysAndExitCodesAndVersionNamesTheProgram) {
  const CliResult help = cli.Run({"--help"});
  EXPECT_EQ(help.exitCode, 0);
  for (const char* part : {"devices", "probe", "--device", "--sim-state", "--json", "I/L/W",
                           "C4 = 60", "3 no sampler answering", "130 interrupted"}) {
    EXPECT_TRUE(Has(help.out, part)) << part;
  }
  const CliResult version = cli.Run({"--version"});
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.out.rfind("kelvora-cli ", 0), 0u) << version.out;
}

}  // namespace
}  // namespace kelvora::cli::test
