#pragma once

#include <QWidget>
#include <functional>

class QPainter;
class QMouseEvent;

namespace kelvora::editor {

// A bare paint box: paints no background of its own (the parent's colour shows through) and hands
// its paint and mouse events to its owner. Like every widget it keeps the mouse while a button is
// held, so a drag past its edges still reports moves to it.
class PaintBox : public QWidget {
 public:
  explicit PaintBox(QWidget* parent = nullptr);

  std::function<void(QPainter&)> OnPaint;
  std::function<void(QMouseEvent&)> OnMouseDown;
  std::function<void(QMouseEvent&)> OnMouseMove;
  std::function<void(QMouseEvent&)> OnMouseUp;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace kelvora::editor
