#include "controls/Knob.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace kelvora::controls {

namespace {

constexpr int kTicks = 7;
// The indicator line is long enough to cross the picture's edge at any angle.
constexpr double kLineLength = 300.0;
// Far beyond any screen; keeps the range times the drag inside 64 bits.
constexpr int64_t kMaxDrag = int64_t{1} << 30;

bool IsArrow(int key) {
  return key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Left || key == Qt::Key_Right;
}

bool WantsSnap(const QMouseEvent& event) {
  return (event.modifiers() & Qt::ControlModifier) || (event.buttons() & Qt::RightButton);
}

void ReplaceColour(const QImage& source, QRgb key, QRgb colour, QImage& target) {
  for (int y = 0; y < source.height(); ++y) {
    const auto* from = reinterpret_cast<const QRgb*>(source.constScanLine(y));
    auto* to = reinterpret_cast<QRgb*>(target.scanLine(y));
    for (int x = 0; x < source.width(); ++x) to[x] = from[x] == key ? colour : from[x];
  }
}

template <class Op>
void Combine(const QImage& source, QImage& target, Op op) {
  for (int y = 0; y < source.height(); ++y) {
    const auto* from = reinterpret_cast<const QRgb*>(source.constScanLine(y));
    auto* to = reinterpret_cast<QRgb*>(target.scanLine(y));
    for (int x = 0; x < source.width(); ++x) to[x] = op(to[x], from[x]);
  }
}

}  // namespace

TKnob::TKnob(QWidget* parent)
    : QWidget(parent), line_(pictures_.Normal().copy()), compose_(pictures_.Normal().copy()) {
  setFixedSize(TKnobPictures::kSize, TKnobPictures::kSize);
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void TKnob::SetMin(int value) {
  if (value >= max_) return;
  min_ = value;
  position_ = std::max(position_, min_);
  update();
}

void TKnob::SetMax(int value) {
  if (value <= min_) return;
  max_ = value;
  position_ = std::min(position_, max_);
  update();
}

void TKnob::SetPosition(int value) { SetPositionWide(value); }

void TKnob::SetPositionWide(int64_t value) {
  position_ = static_cast<int>(std::clamp<int64_t>(value, min_, max_));
  update();
  Q_EMIT OnChange();
}

void TKnob::SetSensitivity(int value) { sensitivity_ = std::max(value, kMinSensitivity); }

QSize TKnob::sizeHint() const { return {TKnobPictures::kSize, TKnobPictures::kSize}; }

// Single precision on purpose: the tick values of a range are those of the float step.
float TKnob::Step() const { return static_cast<float>(static_cast<double>(Range()) / 6.0); }

int64_t TKnob::Tick(int k) const {
  const float product = static_cast<float>(k * static_cast<double>(Step()));
  return min_ + static_cast<int64_t>(product);
}

int64_t TKnob::SnapWide(int64_t value) const {
  const float k = static_cast<float>(static_cast<double>(value - min_) / Step() + 0.5);
  // Values far outside the range land beyond the outer ticks either way; the bound keeps the
  // conversion to an integer defined.
  return Tick(static_cast<int>(std::clamp(k, -1.0f, static_cast<float>(kTicks))));
}

int TKnob::Snap(int value) const {
  return static_cast<int>(std::clamp<int64_t>(SnapWide(value), min_, max_));
}

// Snap(Position + one sixth of the range) stalls, or even falls back, when a tick interval holds
// fewer than six values; then the next tick above is taken directly.
void TKnob::StepToTickAbove() {
  const int64_t s = SnapWide(position_);
  int64_t next = s > position_ ? s : SnapWide(position_ + Range() / 6);
  for (int k = 0; next <= position_ && position_ < max_; ++k) {
    next = k < kTicks ? Tick(k) : max_;
  }
  SetPositionWide(next);
}

void TKnob::StepToTickBelow() {
  const int64_t s = SnapWide(position_);
  int64_t next = s < position_ ? s : SnapWide(position_ - Range() / 6);
  for (int k = kTicks - 1; next >= position_ && position_ > min_; --k) {
    next = k >= 0 ? Tick(k) : min_;
  }
  SetPositionWide(next);
}

bool TKnob::event(QEvent* event) {
  // Arrow keys belong to the knob even where a window binds them as shortcuts.
  if (event->type() == QEvent::ShortcutOverride && IsArrow(static_cast<QKeyEvent*>(event)->key())) {
    event->accept();
    return true;
  }
  return QWidget::event(event);
}

void TKnob::keyPressEvent(QKeyEvent* event) {
  const bool toTick = event->modifiers() & Qt::ControlModifier;
  switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Right:
      toTick ? StepToTickAbove() : SetPositionWide(int64_t{position_} + smallChange_);
      break;
    case Qt::Key_Down:
    case Qt::Key_Left:
      toTick ? StepToTickBelow() : SetPositionWide(int64_t{position_} - smallChange_);
      break;
    default:
      QWidget::keyPressEvent(event);
      return;
  }
  event->accept();
}

void TKnob::Anchor(QPoint at) {
  downX_ = at.x();
  downY_ = at.y();
  downPosition_ = position_;
}

void TKnob::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    // The right button held during a drag is part of the drag, not a click for the parent.
    if (!dragging_) QWidget::mousePressEvent(event);
    return;
  }
  dragging_ = true;
  Anchor(event->position().toPoint());
  snapping_ = WantsSnap(*event);
  if (snapping_) SetPositionWide(SnapWide(position_));
}

void TKnob::mouseMoveEvent(QMouseEvent* event) {
  if (!dragging_) return;
  const QPoint at = event->position().toPoint();
  // Turning snapping on or off starts the drag afresh from where the pointer and value are now.
  if (WantsSnap(*event) != snapping_) {
    snapping_ = !snapping_;
    Anchor(at);
  }
  const int64_t dy = std::clamp<int64_t>(int64_t{at.y()} - downY_, -kMaxDrag, kMaxDrag);
  const int64_t divisor = snapping_ ? sensitivity_ / 3 : sensitivity_;
  const int64_t value = downPosition_ - Range() * dy / divisor;
  SetPositionWide(snapping_ ? SnapWide(value) : value);
}

void TKnob::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) dragging_ = false;
}

void TKnob::contextMenuEvent(QContextMenuEvent* event) {
  if (dragging_) {
    event->accept();
  } else {
    QWidget::contextMenuEvent(event);
  }
}

void TKnob::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  update();
}

void TKnob::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  update();
}

QColor TKnob::BackgroundColour() const {
  const QWidget* owner = parentWidget() ? parentWidget() : this;
  return owner->palette().color(owner->backgroundRole());
}

// The knob picture with the background filled in, the indicator line clipped to the mask's
// circle (OR), then laid on the picture (AND).
void TKnob::ComposePicture() {
  const QImage& knob = hasFocus() ? pictures_.Focus() : pictures_.Normal();
  ReplaceColour(knob, TKnobPictures::BackgroundKey(), BackgroundColour().rgb(), compose_);

  const double pi = 4.0 * std::atan(1.0);
  const double theta = 1.25 * pi - 1.5 * pi * (double(position_) - min_) / (double(max_) - min_);
  const int c = TKnobPictures::kCentre;
  const int x = static_cast<int>(c + kLineLength * std::cos(theta));
  const int y = static_cast<int>(c - kLineLength * std::sin(theta));
  line_.fill(Qt::white);
  {
    QPainter painter(&line_);
    painter.setPen(QPen(Qt::black, 1));
    painter.drawLine(c, c, x, y);
  }
  Combine(pictures_.Mask(), line_, [](QRgb line, QRgb mask) { return line | mask; });
  Combine(line_, compose_, [](QRgb picture, QRgb line) { return picture & line; });
}

void TKnob::paintEvent(QPaintEvent*) {
  ComposePicture();
  QPainter painter(this);
  painter.drawImage(0, 0, compose_);
}

}  // namespace kelvora::controls
