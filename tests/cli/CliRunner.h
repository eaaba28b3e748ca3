#pragma once

#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "support/TempFolder.h"

namespace kelvora::cli::test {

// The samples of a mono 16-bit WAV file as a download writes it; empty when it cannot be read.
std::vector<int16_t> WavSamplesOf(const QString& path);

// What one run of kelvora-cli left behind.
struct CliResult {
  int exitCode = -1;  // -1: it crashed, was killed or did not end in time
  std::string out;
  std::string err;
};

// The JSON object a text holds; a text that is not JSON fails the test that reads it.
QJsonObject JsonOf(const std::string& text);
QJsonObject JsonOf(const CliResult& result);

bool Has(const std::string& text, const std::string& part);

// Runs the real kelvora-cli with a home of its own (so no user's settings apply), in a working
// folder of its own. Limits are generous: the suite also runs under the sanitizers.
class CliRunner {
 public:
  CliRunner();

  // Arguments that put the built-in simulated sampler's memory in a state file of the working
  // folder, so that one run sees what the run before it left.
  QStringList Kept() const;
  CliResult Run(const QStringList& arguments, int limitMs = 60000);
  // Started, not waited for: for tests that signal the program while it runs.
  std::unique_ptr<QProcess> Start(const QStringList& arguments);
  static CliResult Finish(QProcess& process, int limitMs = 60000);

  // The working folder; relative paths in arguments are relative to it.
  QString Folder() const { return QString::fromStdString(work_.Path()); }
  QString Path(const QString& name) const { return Folder() + "/" + name; }

 private:
  QString Home(const QString& name) const;

  testing::TempFolder home_;
  testing::TempFolder work_;
};

}  // namespace kelvora::cli::test
