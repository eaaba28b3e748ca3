#include "CliRunner.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QJsonDocument>
#include <QProcessEnvironment>

#include "batch/WavSamples.h"

namespace kelvora::cli::test {

CliRunner::CliRunner() { QDir(Home("")).mkpath("config/Kelvora"); }

QString CliRunner::Home(const QString& name) const {
  return QString::fromStdString(home_.Path()) + "/" + name;
}

QJsonObject JsonOf(const std::string& text) {
  QJsonParseError error{};
  const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(text), &error);
  EXPECT_EQ(error.error, QJsonParseError::NoError) << text;
  return document.object();
}

QJsonObject JsonOf(const CliResult& result) { return JsonOf(result.out); }

bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

std::vector<int16_t> WavSamplesOf(const QString& path) {
  batch::WavSamples wav;
  std::string failure;
  if (!wav.Open(path.toStdString(), failure)) return {};
  std::vector<int16_t> samples(static_cast<size_t>(wav.Count()));
  if (wav.Read(samples.data(), static_cast<int>(samples.size())) != wav.Count()) return {};
  return samples;
}

QStringList CliRunner::Kept() const {
  return {"--device", "sim", "--sim-state", Path("sampler.state")};
}

std::unique_ptr<QProcess> CliRunner::Start(const QStringList& arguments) {
  auto process = std::make_unique<QProcess>();
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("HOME", Home(""));
  environment.insert("XDG_CONFIG_HOME", Home("config"));
  environment.insert("XDG_STATE_HOME", Home("state"));
  process->setProcessEnvironment(environment);
  process->setWorkingDirectory(Folder());
  process->start(QStringLiteral(KELVORA_CLI_PROGRAM), arguments);
  process->waitForStarted();
  return process;
}

CliResult CliRunner::Finish(QProcess& process, int limitMs) {
  CliResult result;
  if (!process.waitForFinished(limitMs)) {
    process.kill();
    process.waitForFinished();
  } else if (process.exitStatus() == QProcess::NormalExit) {
    result.exitCode = process.exitCode();
  }
  result.out = process.readAllStandardOutput().toStdString();
  result.err = process.readAllStandardError().toStdString();
  return result;
}

CliResult CliRunner::Run(const QStringList& arguments, int limitMs) {
  std::unique_ptr<QProcess> process = Start(arguments);
  return Finish(*process, limitMs);
}

}  // namespace kelvora::cli::test
