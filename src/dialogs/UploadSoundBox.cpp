#include "dialogs/UploadSoundBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <cmath>

#include "transfer/SamplerRates.h"

namespace kelvora::dialogs {

namespace {

QString RateText(int code) {
  const double rate = transfer::PlayedRate(code);
  return QStringLiteral("%1 Hz").arg(std::lround(rate));
}

QString NativeString(const std::string& text) {
  return QString::fromLocal8Bit(text.data(), qsizetype(text.size()));
}

}  // namespace

UploadSoundBox::UploadSoundBox(QWidget* parent) : QGroupBox(QStringLiteral(" Sound "), parent) {
  FormatLabel = new QLabel(this);
  FormatLabel->setWordWrap(true);
  RateComboBox = new QComboBox(this);
  RateLabel = new QLabel(QStringLiteral("&Rate"), this);
  RateLabel->setBuddy(RateComboBox);
  UnchangedCheckBox = new QCheckBox(QStringLiteral("Send samples &unchanged"), this);
  UnchangedCheckBox->setToolTip(
      QStringLiteral("Keep the file's samples and round its rate to a rate the sampler plays, "
                     "which changes the pitch unless the rate is one the sampler plays exactly"));
  PlanLabel = new QLabel(this);
  PlanLabel->setWordWrap(true);
  auto* layout = new QGridLayout(this);
  layout->addWidget(FormatLabel, 0, 0, 1, 4);
  layout->addWidget(RateLabel, 1, 0);
  layout->addWidget(RateComboBox, 1, 1);
  layout->addWidget(UnchangedCheckBox, 1, 2);
  layout->addWidget(PlanLabel, 2, 0, 1, 4);
  layout->setColumnStretch(3, 1);
  connect(RateComboBox, &QComboBox::activated, this, &UploadSoundBox::OptionsChanged);
  connect(UnchangedCheckBox, &QCheckBox::toggled, this, [this] {
    UpdateEnabling();
    Q_EMIT OptionsChanged();
  });
  UpdateEnabling();
}

void UploadSoundBox::ShowFile(const transfer::OpenedSource& opened) {
  if (!opened.source) {
    FormatLabel->setText(NativeString(opened.refusal));
    PlanLabel->clear();
    FillTargets(0);
    return;
  }
  FormatLabel->setText(NativeString(opened.plan.format));
  if (opened.plan.fileRate != listedRate_) FillTargets(opened.plan.fileRate);
}

void UploadSoundBox::ShowPlan(const transfer::OpenedSource& opened,
                              const transfer::UploadFigures& figures) {
  if (!opened.source) return PlanLabel->clear();
  PlanLabel->setText(NativeString(transfer::PitchText(opened.plan)) + QStringLiteral("; ") +
                     NativeString(transfer::FiguresText(figures)));
}

// The default target first, then every slower rate the sampler plays exactly.
void UploadSoundBox::FillTargets(int fileRate) {
  listedRate_ = fileRate;
  RateComboBox->clear();
  if (fileRate > 0) {
    const std::vector<int> codes = transfer::TargetCodes(fileRate);
    for (int code : codes) RateComboBox->addItem(RateText(code), code);
    RateComboBox->setItemText(0, RateText(codes.front()) + QStringLiteral(" (default)"));
  }
  UpdateEnabling();
}

int UploadSoundBox::TargetCode() const {
  return RateComboBox->count() > 0 ? RateComboBox->currentData().toInt() : -1;
}

bool UploadSoundBox::Unchanged() const { return UnchangedCheckBox->isChecked(); }

void UploadSoundBox::UpdateEnabling() {
  const bool listed = RateComboBox->count() > 0;
  RateComboBox->setEnabled(listed && !Unchanged());
  RateLabel->setEnabled(RateComboBox->isEnabled());
}

}  // namespace kelvora::dialogs
