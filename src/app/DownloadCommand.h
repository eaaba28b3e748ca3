#pragma once

#include <QString>
#include <string>

namespace kelvora::transfer {
class DownloadEngine;
struct TransferResult;
}  // namespace kelvora::transfer

namespace kelvora::app {

class TMainForm;

// Download...: the wavesample open for editing, or one chosen in the browser, into a new WAV file.
class DownloadCommand {
 public:
  explicit DownloadCommand(TMainForm& form);
  void Run();  // the whole DownloadClick

 private:
  bool ChooseWaveSample();
  QString ChooseFile();
  void Transfer(transfer::DownloadEngine& engine, const QString& fileName);
  void Report(const transfer::TransferResult& result, const QString& fileName);
  void Tell(const QString& text);

  TMainForm& form_;
};

}  // namespace kelvora::app
