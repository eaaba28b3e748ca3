#include "dialogs/MultisamplePlanForm.h"

#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include "batch/KeyNames.h"
#include "batch/SlotPath.h"
#include "transfer/UploadFigures.h"

namespace kelvora::dialogs {

namespace {

QTableWidgetItem* Cell(const QString& text, bool editable) {
  auto* item = new QTableWidgetItem(text);
  if (!editable) item->setFlags(item->flags() & ~Qt::ItemIsEditable);
  return item;
}

QString Key(int key) { return QString::fromStdString(batch::KeyName(key)); }

}  // namespace

MultisamplePlanForm::MultisamplePlanForm(Planner planner, QWidget* parent)
    : QDialog(parent), planner_(std::move(planner)) {
  setWindowTitle(QStringLiteral("Upload Multisample"));
  InstrumentBox = new QSpinBox(this);
  InstrumentBox->setRange(1, 8);
  Table = new QTableWidget(0, kColumns, this);
  Table->setHorizontalHeaderLabels(
      {"File", "Wavesample", "Root", "Low key", "High key", "Rate", "Wire time"});
  Table->horizontalHeader()->setSectionResizeMode(kFile, QHeaderView::Stretch);
  Table->verticalHeader()->hide();
  Table->setEditTriggers(QAbstractItemView::AllEditTriggers);
  Totals = new QLabel(this);
  Totals->setWordWrap(true);
  UploadButton = new QPushButton(QStringLiteral("&Upload"), this);
  CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
  UploadButton->setDefault(true);
  auto* top = new QFormLayout;
  auto* label = new QLabel(QStringLiteral("&Instrument"), this);
  label->setBuddy(InstrumentBox);
  top->addRow(label, InstrumentBox);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(UploadButton);
  buttons->addWidget(CancelButton);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(Table, 1);
  layout->addWidget(Totals);
  layout->addLayout(buttons);
  resize(760, 360);
  connect(UploadButton, &QPushButton::clicked, this, &QDialog::accept);
  connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
  connect(InstrumentBox, &QSpinBox::valueChanged, this, &MultisamplePlanForm::Replan);
  connect(Table, &QTableWidget::itemChanged, this, &MultisamplePlanForm::CellEdited);
}

int MultisamplePlanForm::Execute(const std::vector<batch::PlanFile>& files, int instrument) {
  files_ = files;
  ranges_.clear();
  {
    const QSignalBlocker quiet(InstrumentBox);
    InstrumentBox->setValue(instrument + 1);
  }
  Replan();
  Table->setFocus();
  return exec();
}

// The planner's halfway ranges, then the ranges the user typed, file by file.
void MultisamplePlanForm::Replan() {
  plan_ = planner_(InstrumentBox->value() - 1, files_);
  for (batch::PlannedFile& planned : plan_.files) {
    const auto typed = ranges_.find(planned.file.path);
    if (typed == ranges_.end()) continue;
    planned.range = batch::RangeRule::Custom;
    planned.low = typed->second.first;
    planned.high = typed->second.second;
  }
  Fill();
}

void MultisamplePlanForm::Fill() {
  filling_ = true;
  Table->setRowCount(static_cast<int>(plan_.files.size()));
  for (int row = 0; row < Table->rowCount(); ++row) {
    const batch::PlannedFile& planned = plan_.files[row];
    const QString slot = QString::fromStdString(
        batch::FormatWaveSample(plan_.instrument, planned.layer, planned.waveSample));
    Table->setItem(row, kFile,
                   Cell(QFileInfo(QString::fromStdString(planned.file.path)).fileName(), false));
    Table->setItem(row, kWaveSample, Cell(slot + (planned.replaces ? " (replaced)" : ""), false));
    Table->setItem(row, kRoot, Cell(Key(planned.rootKey), true));
    Table->setItem(row, kLow, Cell(Key(planned.low), true));
    Table->setItem(row, kHigh, Cell(Key(planned.high), true));
    Table->setItem(row, kRate, Cell(QStringLiteral("%1 Hz").arg(planned.file.rate), false));
    Table->setItem(
        row, kTime,
        Cell(QString::fromStdString(transfer::DurationText(planned.file.wireSeconds)), false));
  }
  filling_ = false;
  const QString figures =
      QString::fromStdString(transfer::FiguresText({plan_.memoryBlocks, 0, plan_.wireSeconds}));
  Totals->setText(plan_.Fits()
                      ? QStringLiteral("%1 files: %2.").arg(plan_.files.size()).arg(figures)
                      : QString::fromStdString(plan_.refusal));
  UploadButton->setEnabled(plan_.Fits());
}

// A typed key that is no key puts the cell back as it was.
void MultisamplePlanForm::CellEdited(QTableWidgetItem* item) {
  if (filling_) return;
  const int row = item->row();
  const std::optional<int> key = batch::ParseKey(item->text().trimmed().toStdString());
  if (row < 0 || row >= static_cast<int>(plan_.files.size()) || !key) {
    Fill();
    return;
  }
  const batch::PlannedFile& planned = plan_.files[row];
  if (item->column() == kRoot) {
    for (batch::PlanFile& file : files_) {
      if (file.path != planned.file.path) continue;
      file.rootKey = *key;
      file.rootSource = "given";
    }
  } else if (item->column() == kLow || item->column() == kHigh) {
    const int low = item->column() == kLow ? *key : planned.low;
    const int high = item->column() == kHigh ? *key : planned.high;
    if (low > high) {
      Fill();
      return;
    }
    ranges_[planned.file.path] = {low, high};
  }
  Replan();
}

}  // namespace kelvora::dialogs
