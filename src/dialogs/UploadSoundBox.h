#pragma once

#include <QGroupBox>

#include "transfer/UploadFigures.h"
#include "transfer/UploadSources.h"

class QCheckBox;
class QComboBox;
class QLabel;

namespace kelvora::dialogs {

// The upload dialog's " Sound " group: the chosen file's format in words, the rate the upload
// aims at (the pitch-true default for the file's rate, or a slower one), "Send samples
// unchanged", and one line saying what will happen: the rate change and the pitch, the memory
// the wavesample takes and its time on the wire.
class UploadSoundBox : public QGroupBox {
  Q_OBJECT

 public:
  explicit UploadSoundBox(QWidget* parent = nullptr);

  // The file as opened, or why it cannot be: the format line, and a fresh list of targets when
  // the file's rate changed. A refused file leaves the targets empty and disabled.
  void ShowFile(const transfer::OpenedSource& opened);
  // The line of what will happen for the file as opened with the chosen target.
  void ShowPlan(const transfer::OpenedSource& opened, const transfer::UploadFigures& figures);
  // The chosen rate code; -1 before a file was read.
  int TargetCode() const;
  bool Unchanged() const;

  QLabel* FormatLabel;
  QLabel* RateLabel;
  QComboBox* RateComboBox;
  QCheckBox* UnchangedCheckBox;
  QLabel* PlanLabel;

 Q_SIGNALS:
  // The user chose another target or (un)checked "Send samples unchanged".
  void OptionsChanged();

 private:
  void FillTargets(int fileRate);
  void UpdateEnabling();

  int listedRate_ = 0;
};

}  // namespace kelvora::dialogs
