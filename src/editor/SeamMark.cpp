#include "editor/SeamMark.h"

#include <QPainter>

namespace kelvora::editor {

using loops::SeamGrade;

SeamMark::SeamMark(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("SeamMark"));
  SetGrade(std::nullopt);
}

void SeamMark::SetGrade(std::optional<SeamGrade> grade, double share) {
  grade_ = grade;
  share_ = share;
  setToolTip(Text());
  setAccessibleName(Text());
  update();
}

QColor SeamMark::Colour() const {
  if (!grade_) return QColor(128, 128, 128);
  switch (*grade_) {
    case SeamGrade::Smooth:
      return QColor(0, 192, 0);
    case SeamGrade::Audible:
      return QColor(230, 190, 0);
    case SeamGrade::Click:
      break;
  }
  return QColor(220, 0, 0);
}

QString SeamMark::Text() const {
  if (!grade_) return QStringLiteral("Seam: not measured");
  const QString share = QStringLiteral(" (%1 % of the peak)").arg(100 * share_, 0, 'f', 1);
  switch (*grade_) {
    case SeamGrade::Smooth:
      return QStringLiteral("Seam: smooth") + share;
    case SeamGrade::Audible:
      return QStringLiteral("Seam: audible bump") + share;
    case SeamGrade::Click:
      break;
  }
  return QStringLiteral("Seam: click") + share;
}

QSize SeamMark::sizeHint() const {
  const int side = fontMetrics().height();
  return QSize(side, side);
}

void SeamMark::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing, true);
  const int side = std::min(width(), height()) - 2;
  const QRect disc((width() - side) / 2, (height() - side) / 2, side, side);
  painter.setPen(QPen(palette().color(QPalette::WindowText), 1));
  painter.setBrush(Colour());
  painter.drawEllipse(disc);
}

}  // namespace kelvora::editor
