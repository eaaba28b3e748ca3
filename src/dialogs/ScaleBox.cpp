#include "dialogs/ScaleBox.h"

#include <QMouseEvent>
#include <QPainter>

namespace kelvora::dialogs {

TScaleBox::TScaleBox(QWidget* parent) : QWidget(parent) {}

void TScaleBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (OnPaint) OnPaint(painter);
}

void TScaleBox::mousePressEvent(QMouseEvent* event) {
  if (OnMouseDown) OnMouseDown(event);
}

void TScaleBox::mouseMoveEvent(QMouseEvent* event) {
  if (OnMouseMove) OnMouseMove(event);
}

void TScaleBox::mouseReleaseEvent(QMouseEvent* event) {
  if (OnMouseUp) OnMouseUp(event);
}

}  // namespace kelvora::dialogs
