#pragma once

#include <QStringList>

#include "batch/JobResult.h"
#include "batch/Snapshot.h"
#include "batch/UploadPlan.h"
#include "transfer/UploadSources.h"

namespace kelvora::app {

class TMainForm;

// Upload Multisample...: several audio files into one instrument with the command-line
// program's planner and upload (roots from metadata or names, ranges halfway between roots),
// shown as a plan the user may edit, then sent in the job progress window.
class MultisampleCommand {
 public:
  explicit MultisampleCommand(TMainForm& form);

  // `files` empty: chosen in a file dialog first.
  void Run(QStringList files);

 private:
  QStringList ChooseFiles();
  bool ReadFiles(const QStringList& paths, std::vector<batch::PlanFile>& files);
  batch::UploadPlan PlanInto(int instrument, const std::vector<batch::PlanFile>& files);
  int FirstFreeInstrument();
  void Report(const batch::UploadPlan& plan, const batch::JobResult& result);

  TMainForm& form_;
  transfer::SourceOptions options_;
  batch::Snapshot target_;  // what the planned instrument holds
};

}  // namespace kelvora::app
