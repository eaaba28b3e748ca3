#include "app/InfoStrip.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSpinBox>

#include "dialogs/KeyName.h"
#include "dialogs/WsFacts.h"
#include "editor/SeamMark.h"
#include "protocol/Records.h"

namespace kelvora::app {

namespace {

constexpr const char* kFieldNames[] = {"SampleStartEdit", "SampleEndEdit", "LoopStartEdit",
                                       "LoopEndEdit"};
constexpr const char* kCaptions[] = {"&Start", "E&nd", "Loop s&tart", "Loop en&d"};

QSpinBox* PositionField(QWidget* parent, const char* name) {
  auto* field = new QSpinBox(parent);
  field->setObjectName(QString::fromLatin1(name));
  field->setRange(0, protocol::kMaxPosition);
  // Only a confirmed number counts, not every key typed on the way to it.
  field->setKeyboardTracking(false);
  field->setButtonSymbols(QAbstractSpinBox::NoButtons);
  field->setAlignment(Qt::AlignRight);
  return field;
}

}  // namespace

InfoStrip::InfoStrip(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("InfoStrip"));
  // The strip clips on a narrow window rather than holding the window wide.
  setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  facts_ = new QLabel(this);
  facts_->setObjectName(QStringLiteral("WsFacts"));
  facts_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  for (int i = 0; i < 4; ++i) {
    fields_[i] = PositionField(this, kFieldNames[i]);
    labels_[i] = new QLabel(QString::fromLatin1(kCaptions[i]), this);
    labels_[i]->setBuddy(fields_[i]);
    const auto point = static_cast<MarkerPoint>(i);
    connect(fields_[i], &QSpinBox::editingFinished, this, [this, point] { Confirmed(point); });
  }
  mark_ = new editor::SeamMark(this);
  markText_ = new QLabel(this);
  markText_->setObjectName(QStringLiteral("SeamMarkText"));
  BuildLayout();
  ShowRecord(false, nullptr);
}

void InfoStrip::BuildLayout() {
  auto* points = new QHBoxLayout;
  for (int i = 0; i < 4; ++i) {
    if (i == 2) points->addSpacing(12);
    points->addWidget(labels_[i]);
    points->addWidget(fields_[i]);
  }
  points->addWidget(mark_);
  points->addWidget(markText_);
  points->addStretch(1);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 2, 4, 2);
  layout->setSpacing(2);
  layout->addWidget(facts_);
  layout->addLayout(points);
}

void InfoStrip::ShowRecord(bool open, const int* wsRecord) {
  for (QSpinBox* field : fields_) field->setEnabled(open);
  if (!open || wsRecord == nullptr) {
    facts_->setText(QStringLiteral("No wavesample open"));
    for (int i = 0; i < 4; ++i) SetField(static_cast<MarkerPoint>(i), 0);
    UpdateMarkText();
    return;
  }
  const dialogs::WsFacts facts = dialogs::FactsOf(wsRecord);
  facts_->setText(
      QStringLiteral("%1 \u00b7 %2 \u00b7 %3 Hz \u00b7 root %4 \u00b7 keys %5 \u00b7 %6")
          .arg(facts.name.isEmpty() ? QStringLiteral("(no name)") : facts.name,
               dialogs::LengthText(facts), QString::number(facts.rate),
               dialogs::KeyName(facts.rootKey), dialogs::KeyRangeText(facts),
               dialogs::PlaybackModeName(facts.mode)));
  SetField(MarkerPoint::SampleStart, facts.sampleStart);
  SetField(MarkerPoint::SampleEnd, facts.sampleEnd);
  ShowLoop(facts.loopStart, facts.loopEnd);
  Field(MarkerPoint::LoopStart)->setEnabled(facts.LoopOn());
  Field(MarkerPoint::LoopEnd)->setEnabled(facts.LoopOn());
  UpdateMarkText();
}

void InfoStrip::ShowLoop(int loopStart, int loopEnd) {
  SetField(MarkerPoint::LoopStart, loopStart);
  SetField(MarkerPoint::LoopEnd, loopEnd);
}

void InfoStrip::SetField(MarkerPoint point, int value) {
  const QSignalBlocker blocker(Field(point));
  Field(point)->setValue(value);
  Field(point)->setProperty("shown", value);
}

// Leaving a field without a change reports nothing.
void InfoStrip::Confirmed(MarkerPoint point) {
  QSpinBox* field = Field(point);
  if (!field->isEnabled() || field->value() == field->property("shown").toInt()) return;
  field->setProperty("shown", field->value());
  Q_EMIT PointTyped(point, field->value());
}

void InfoStrip::UpdateMarkText() { markText_->setText(mark_->Text()); }

}  // namespace kelvora::app
