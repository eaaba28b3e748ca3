#pragma once

#include <QWidget>
#include <functional>

class QMouseEvent;
class QPainter;

namespace kelvora::dialogs {

// A plain paint box: it draws and handles the mouse only through the handlers its owner sets.
class TScaleBox : public QWidget {
 public:
  explicit TScaleBox(QWidget* parent = nullptr);

  std::function<void(QPainter&)> OnPaint;
  std::function<void(QMouseEvent*)> OnMouseDown;
  std::function<void(QMouseEvent*)> OnMouseMove;
  std::function<void(QMouseEvent*)> OnMouseUp;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace kelvora::dialogs
