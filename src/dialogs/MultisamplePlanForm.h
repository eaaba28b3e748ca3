#pragma once

#include <QDialog>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "batch/UploadPlan.h"

class QLabel;
class QPushButton;
class QSpinBox;
class QTableWidget;
class QTableWidgetItem;

namespace kelvora::dialogs {

// "Upload Multisample": the plan of several audio files going into one instrument, one row per
// file with its wavesample, root key, key range, rate and wire time, and the totals. The root
// key and the two keys of the range are cells the user may type into (a key name such as C#3 or
// a MIDI number); a new root plans the ranges again halfway between the roots. The instrument
// is chosen above the table; Upload is offered only for a plan that fits.
class MultisamplePlanForm : public QDialog {
  Q_OBJECT

 public:
  enum Column { kFile, kWaveSample, kRoot, kLow, kHigh, kRate, kTime, kColumns };

  // Plans the files into an instrument 0..7: reads what the instrument holds and returns the
  // plan with its figures.
  using Planner =
      std::function<batch::UploadPlan(int instrument, const std::vector<batch::PlanFile>& files)>;

  MultisamplePlanForm(Planner planner, QWidget* parent = nullptr);

  // Shows the plan of `files` into `instrument`; the plan as the user left it when the result
  // is Accepted.
  int Execute(const std::vector<batch::PlanFile>& files, int instrument);
  const batch::UploadPlan& Plan() const { return plan_; }

  QSpinBox* InstrumentBox;  // 1..8
  QTableWidget* Table;
  QLabel* Totals;
  QPushButton* UploadButton;
  QPushButton* CancelButton;

 private:
  void Replan();
  void Fill();
  void CellEdited(QTableWidgetItem* item);

  Planner planner_;
  std::vector<batch::PlanFile> files_;
  std::map<std::string, std::pair<int, int>> ranges_;  // typed key ranges, by file
  batch::UploadPlan plan_;
  bool filling_ = false;
};

}  // namespace kelvora::dialogs
