#include "editor/SeamView.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "loops/ZeroCrossings.h"

namespace kelvora::editor {

namespace {

const QColor kBackground(0, 0, 0);
const QColor kActiveBackground(20, 28, 56);
const QColor kCentreColour(128, 128, 128);
const QColor kSeamColour(0, 128, 128);
const QColor kWaveColour(0, 255, 0);
const QColor kJumpColour(255, 64, 64);
const QColor kTextColour(200, 200, 200);
// Quieter material is not blown up beyond this: its shape would be noise.
constexpr int kLeastScale = 64;
constexpr int kCoarseStep = 16;

}  // namespace

SeamView::SeamView(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("SeamView"));
  setFocusPolicy(Qt::StrongFocus);
  setMinimumHeight(120);
}

QSize SeamView::sizeHint() const { return QSize(4 * 2 * kShown, 160); }

void SeamView::SetScene(const SeamScene& scene) {
  scene_ = scene;
  update();
}

void SeamView::SetPoints(int loopStart, int loopEnd) {
  scene_.loopStart = loopStart;
  scene_.loopEnd = loopEnd;
  update();
}

void SeamView::SetCaption(const QString& caption) {
  caption_ = caption;
  update();
}

void SeamView::SetActiveSide(SeamSide side) {
  active_ = side;
  update();
}

double SeamView::Spacing() const { return width() / (2.0 * kShown); }

int SeamView::ColumnOf(SeamSide side, int position) const {
  const int index = side == SeamSide::LoopEnd ? position - (scene_.loopEnd - kShown)
                                              : position - scene_.loopStart + kShown;
  if (index < 0 || index >= 2 * kShown) return -1;
  if ((side == SeamSide::LoopEnd) != (index < kShown)) return -1;
  return static_cast<int>((index + 0.5) * Spacing());
}

int SeamView::DisplayScale() const {
  int scale = kLeastScale;
  for (SeamSide side : {SeamSide::LoopEnd, SeamSide::LoopStart}) {
    const loops::SampleWindow& window = scene_.Window(side);
    const int from = side == SeamSide::LoopEnd ? scene_.loopEnd - kShown : scene_.loopStart;
    for (int p = from; p < from + kShown; ++p) {
      if (window.Holds(p)) scale = std::max(scale, std::abs(window.At(p)));
    }
  }
  return scale;
}

int SeamView::RowOf(int value, int scale) const {
  const double half = (height() - 1) / 2.0;
  return static_cast<int>(std::lround(half - value * half * 0.9 / scale));
}

void SeamView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), kBackground);
  const int middle = width() / 2;
  const QRect activeHalf = active_ == SeamSide::LoopEnd
                               ? QRect(0, 0, middle, height())
                               : QRect(middle, 0, width() - middle, height());
  painter.fillRect(activeHalf, hasFocus() ? kActiveBackground : kActiveBackground.darker(150));
  painter.setPen(kCentreColour);
  painter.drawLine(0, height() / 2, width() - 1, height() / 2);
  painter.setPen(kSeamColour);
  painter.drawLine(middle, 0, middle, height() - 1);
  const int scale = DisplayScale();
  PaintSide(painter, SeamSide::LoopEnd, scale);
  PaintSide(painter, SeamSide::LoopStart, scale);
  const int last = scene_.loopEnd - 1;
  const int first = scene_.loopStart;
  if (scene_.endSide.Holds(last) && scene_.startSide.Holds(first)) {
    painter.setPen(QPen(kJumpColour, 2));
    painter.drawLine(ColumnOf(SeamSide::LoopEnd, last), RowOf(scene_.endSide.At(last), scale),
                     ColumnOf(SeamSide::LoopStart, first),
                     RowOf(scene_.startSide.At(first), scale));
  }
  PaintLabel(painter, Qt::AlignLeft | Qt::AlignBottom,
             QStringLiteral("Loop end %1").arg(scene_.loopEnd));
  PaintLabel(painter, Qt::AlignRight | Qt::AlignBottom,
             QStringLiteral("Loop start %1").arg(scene_.loopStart));
  if (!caption_.isEmpty()) PaintLabel(painter, Qt::AlignLeft | Qt::AlignTop, caption_);
}

// On a dark box of its own, so that the wave passing behind does not hide it.
void SeamView::PaintLabel(QPainter& painter, Qt::Alignment corner, const QString& text) const {
  const QRect area = rect().adjusted(3, 2, -3, -2);
  QRect box = painter.fontMetrics().boundingRect(area, int(corner), text).adjusted(-2, 0, 2, 0);
  painter.fillRect(box, QColor(0, 0, 0, 190));
  painter.setPen(kTextColour);
  painter.drawText(area, int(corner), text);
}

// The samples of one side joined by a line, a dot on each; samples not read leave a gap.
void SeamView::PaintSide(QPainter& painter, SeamSide side, int scale) const {
  const loops::SampleWindow& window = scene_.Window(side);
  const int from = side == SeamSide::LoopEnd ? scene_.loopEnd - kShown : scene_.loopStart;
  painter.setPen(QPen(kWaveColour, 1));
  QPoint previous;
  bool joined = false;
  for (int p = from; p < from + kShown; ++p) {
    if (!window.Holds(p)) {
      joined = false;
      continue;
    }
    const QPoint point(ColumnOf(side, p), RowOf(window.At(p), scale));
    if (joined) painter.drawLine(previous, point);
    painter.fillRect(point.x() - 1, point.y() - 1, 3, 3, kWaveColour);
    previous = point;
    joined = true;
  }
}

int SeamView::Snapped(SeamSide side, int position) const {
  if (!snap_) return position;
  return loops::NearestRisingCrossing(scene_.Window(side), position, kSnapRadius)
      .value_or(position);
}

int SeamView::Stepped(SeamSide side, int direction, bool coarse) const {
  const int point = scene_.Point(side);
  if (coarse || !snap_) return point + direction * (coarse ? kCoarseStep : 1);
  // Without a crossing in the samples held the point creeps on by one sample; the samples
  // around it are read again once the key is let go.
  return loops::NextRisingCrossing(scene_.Window(side), point, direction)
      .value_or(point + direction);
}

void SeamView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  SetActiveSide(event->position().x() < width() / 2 ? SeamSide::LoopEnd : SeamSide::LoopStart);
  dragging_ = true;
  pressX_ = event->position().x();
  pressPoint_ = scene_.Point(active_);
}

void SeamView::mouseMoveEvent(QMouseEvent* event) {
  if (!dragging_) return;
  const int delta = static_cast<int>(std::lround((event->position().x() - pressX_) / Spacing()));
  const int position = Snapped(active_, pressPoint_ + delta);
  if (position != scene_.Point(active_)) Q_EMIT PointMoved(active_, position);
}

void SeamView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !dragging_) return;
  dragging_ = false;
  Q_EMIT PointReleased(active_);
}

void SeamView::keyPressEvent(QKeyEvent* event) {
  const bool coarse = event->modifiers() & Qt::ShiftModifier;
  switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right: {
      const int position = Stepped(active_, event->key() == Qt::Key_Left ? -1 : 1, coarse);
      if (position != scene_.Point(active_)) Q_EMIT PointMoved(active_, position);
      return;
    }
    case Qt::Key_Up:
    case Qt::Key_Down:
      SetActiveSide(active_ == SeamSide::LoopEnd ? SeamSide::LoopStart : SeamSide::LoopEnd);
      return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      Q_EMIT AcceptRequested();
      return;
    case Qt::Key_Escape:
      Q_EMIT DismissRequested();
      return;
    default:
      QWidget::keyPressEvent(event);
  }
}

// A held key repeats its presses; only letting it go ends the move.
void SeamView::keyReleaseEvent(QKeyEvent* event) {
  const bool arrow = event->key() == Qt::Key_Left || event->key() == Qt::Key_Right;
  if (arrow && !event->isAutoRepeat()) {
    Q_EMIT PointReleased(active_);
    return;
  }
  QWidget::keyReleaseEvent(event);
}

}  // namespace kelvora::editor
