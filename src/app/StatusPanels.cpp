#include "app/StatusPanels.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QStackedLayout>
#include <algorithm>

#include "controls/DesignScale.h"

namespace kelvora::app {

namespace {

constexpr int kPanelDesignWidth = 75;
constexpr int kBarDesignHeight = 19;
// The widest texts: positions go up to 2^23 - 1.
const char kWidestMarker[] = "we:8388607";
const char kWidestRange[] = "range:8388607 - 8388607";

QLabel* MakePanel(QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setFrameShape(QFrame::Panel);
  label->setFrameShadow(QFrame::Sunken);
  label->setTextFormat(Qt::PlainText);
  label->setContentsMargins(2, 0, 2, 0);
  // Clicks are handled by the bar as a whole, by position.
  label->setAttribute(Qt::WA_TransparentForMouseEvents);
  return label;
}

}  // namespace

StatusPanels::StatusPanels(QWidget* parent) : QWidget(parent) {
  setObjectName("StatusBar");
  setFixedHeight(controls::Design(kBarDesignHeight, this));
  auto* panelRow = new QWidget(this);
  panelRow->setAttribute(Qt::WA_TransparentForMouseEvents);
  auto* row = new QHBoxLayout(panelRow);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(0);
  for (int i = 0; i < kPanels; ++i) {
    panels_[i] = MakePanel(panelRow);
    const int margins = 2 * panels_[i]->frameWidth() + 6;
    const int text = panels_[i]->fontMetrics().horizontalAdvance(i == kPanels - 1 ? kWidestRange
                                                                                  : kWidestMarker);
    widths_[i] = std::max(controls::Design(kPanelDesignWidth, this), text + margins);
    panels_[i]->setFixedWidth(widths_[i]);
    row->addWidget(panels_[i]);
  }
  row->addStretch(1);
  hint_ = MakePanel(this);
  stack_ = new QStackedLayout(this);
  stack_->setContentsMargins(0, 0, 0, 0);
  stack_->addWidget(panelRow);
  stack_->addWidget(hint_);
}

PanelTexts StatusPanels::Texts(const StatusState& s) {
  PanelTexts texts;
  if (s.wsOpen) {
    texts[0] = "ws:" + QString::number(s.sampleStart);
    texts[1] = "we:" + QString::number(s.sampleEnd);
    if (s.loopOn) {
      texts[2] = "ls:" + QString::number(s.loopStart);
      texts[3] = "le:" + QString::number(s.loopEnd);
    }
  }
  if (s.hasSelection) {
    texts[4] = "range:" + QString::number(s.selStart) + " - " + QString::number(s.selEnd);
  }
  return texts;
}

void StatusPanels::SetTexts(const PanelTexts& texts) {
  for (int i = 0; i < kPanels; ++i) {
    if (panels_[i]->text() != texts[i]) panels_[i]->setText(texts[i]);
  }
}

QString StatusPanels::Text(int panel) const {
  return panel >= 0 && panel < kPanels ? panels_[panel]->text() : QString();
}

void StatusPanels::ShowHint(const QString& hint) {
  hint_->setText(hint);
  stack_->setCurrentIndex(hint.isEmpty() ? 0 : 1);
}

bool StatusPanels::HintMode() const { return stack_->currentIndex() == 1; }

QString StatusPanels::Hint() const { return HintMode() ? hint_->text() : QString(); }

// The first panel whose right edge lies beyond x.
int StatusPanels::PanelAt(int x) const {
  if (x < 0) return kNoPanel;
  int right = 0;
  for (int panel = 0; panel < kPanels; ++panel) {
    right += widths_[panel];
    if (x < right) return panel;
  }
  return kNoPanel;
}

void StatusPanels::SetOnPanelPressed(std::function<void(int panel)> handler) {
  onPanelPressed_ = std::move(handler);
}

void StatusPanels::mousePressEvent(QMouseEvent* event) {
  const int panel = PanelAt(qRound(event->position().x()));
  if (panel != kNoPanel && onPanelPressed_) onPanelPressed_(panel);
  event->accept();
}

}  // namespace kelvora::app
