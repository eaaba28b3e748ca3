#include "dialogs/WsIsCopyForm.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "protocol/Eps.h"
#include "protocol/Records.h"

namespace kelvora::dialogs {

namespace {

QLabel* PlainLine(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setTextFormat(Qt::PlainText);
  return label;
}

bool IsWaveSampleNumber(int number) { return number >= 1 && number <= protocol::kWaveSamples; }

}  // namespace

TWsIsCopyForm::TWsIsCopyForm(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Wavesample is a Copy"));
  HeadingLabel = PlainLine(QStringLiteral("Wavesample is a Copy"), this);
  QFont bold = HeadingLabel->font();
  bold.setBold(true);
  HeadingLabel->setFont(bold);
  SourceLabel = PlainLine(QString(), this);
  QuestionLabel = PlainLine(QString(), this);
  YesButton = new QPushButton(QStringLiteral("Yes"), this);
  NoButton = new QPushButton(QStringLiteral("No"), this);
  YesButton->setDefault(true);

  auto* layout = new QVBoxLayout(this);
  layout->setSpacing(2);
  layout->addWidget(HeadingLabel);
  layout->addSpacing(8);
  layout->addWidget(PlainLine(QStringLiteral("The wavesample you are trying to open is a"), this));
  layout->addWidget(SourceLabel);
  layout->addWidget(
      PlainLine(QStringLiteral("You cannot edit  wavesamples that are a copy"), this));
  layout->addWidget(PlainLine(QStringLiteral("of another wavesample. "), this));
  layout->addSpacing(8);
  layout->addWidget(QuestionLabel);
  layout->addSpacing(8);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(YesButton);
  buttons->addWidget(NoButton);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(YesButton, &QPushButton::clicked, this, [this] { done(protocol::mrOk); });
  connect(NoButton, &QPushButton::clicked, this, &TWsIsCopyForm::reject);
}

void TWsIsCopyForm::reject() { done(protocol::mrCancel); }

int TWsIsCopyForm::Execute(int sourceWaveSample) {
  SourceLabel->setText(
      QStringLiteral("parameters-only copy of wavesample #%1.").arg(sourceWaveSample));
  QuestionLabel->setText(
      QStringLiteral("Do you want to edit wavesample #%1 instead ?").arg(sourceWaveSample));
  YesButton->setFocus();
  return exec() == protocol::mrOk ? protocol::mrOk : protocol::mrCancel;
}

int CopySource(const int* wsParams) { return (wsParams[protocol::kWsCopySource] >> 8) & 0xFF; }

int OpenWithCopyRedirect(protocol::TEps& eps, TWsIsCopyForm& form) {
  int result = eps.OpenWs(true);
  if (result != 2) return result;
  const int source = CopySource(eps.WsParams);
  // A source that is no wavesample, or the copy itself, cannot be offered.
  if (!IsWaveSampleNumber(source) || source == eps.WaveSample) return result;
  if (form.Execute(source) != protocol::mrOk) return result;
  eps.WaveSample = source;
  // Address the source in its own layer where the configuration read knows it.
  if (eps.Instrument >= 0 && eps.Instrument < protocol::kInstruments) {
    const int layer = eps.WsLayer[eps.Instrument][source - 1];
    if (layer >= 0 && layer < protocol::kLayers) eps.Layer = layer;
  }
  return eps.OpenWs(true);
}

}  // namespace kelvora::dialogs
