#pragma once

#include <QString>
#include <string>

namespace kelvora::batch {
class RestorePlan;
struct JobResult;
struct Snapshot;
}  // namespace kelvora::batch

namespace kelvora::app {

class TMainForm;

// Back Up Sampler... and Restore... of the File menu: the backup and restore jobs of the
// command-line program, on the same folder format, with a folder chosen in a file dialog and
// the job shown in the progress window.
class BackupCommand {
 public:
  explicit BackupCommand(TMainForm& form);

  // Every instrument into a folder; a partial backup in it is resumed, and a backup of other
  // content is replaced only when the user says so.
  void BackUp();
  // The instruments of a backup, after the user has seen where each goes and what cannot be
  // brought back.
  void Restore();

  // The text of the restore's confirmation, for the plan and the backup it was made from.
  static QString PlanText(const batch::RestorePlan& plan, const batch::Snapshot& backup);

 private:
  QString ChooseFolder(const QString& caption, bool forBackup);
  bool Ask(const QString& title, const QString& text, const QString& yes);
  void Report(const QString& title, const QString& summary, const batch::JobResult& result);

  TMainForm& form_;
};

}  // namespace kelvora::app
