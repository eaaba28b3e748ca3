#pragma once

#include <QWidget>

class QPainter;

#include "editor/SeamScene.h"

namespace kelvora::editor {

// The loop seam at sample resolution: the last samples before the loop end on the left, the first
// samples from the loop start on the right, joined at the seam in the middle, so that a jump is
// seen where it is heard. Either point moves by dragging its half or by the arrow keys (Up and
// Down choose the half); with snapping on a point moves from one rising zero crossing of the
// samples held to the next (or by one sample where the samples held show none). The view only
// reports the moves: live while they go on, once more when the button or key is released. Enter and
// Escape ask to accept or dismiss a proposal.
class SeamView : public QWidget {
  Q_OBJECT

 public:
  // Samples shown on each side of the seam.
  static constexpr int kShown = 48;
  // A drag or key lands on the nearest rising crossing within this many samples, if any.
  static constexpr int kSnapRadius = 32;

  explicit SeamView(QWidget* parent = nullptr);

  void SetScene(const SeamScene& scene);
  const SeamScene& Scene() const { return scene_; }
  void SetPoints(int loopStart, int loopEnd);
  void SetSnap(bool snap) { snap_ = snap; }
  void SetCaption(const QString& caption);  // drawn at the top left, e.g. for a proposal
  SeamSide ActiveSide() const { return active_; }
  void SetActiveSide(SeamSide side);

  // Column of the sample at `position` on `side`; -1 when it is not shown.
  int ColumnOf(SeamSide side, int position) const;
  QSize sizeHint() const override;

 Q_SIGNALS:
  void PointMoved(SeamSide side, int position);
  void PointReleased(SeamSide side);
  void AcceptRequested();
  void DismissRequested();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;

 private:
  double Spacing() const;  // pixels from one sample to the next
  int RowOf(int value, int scale) const;
  int DisplayScale() const;
  int Snapped(SeamSide side, int position) const;
  int Stepped(SeamSide side, int direction, bool coarse) const;
  void PaintSide(QPainter& painter, SeamSide side, int scale) const;
  void PaintLabel(QPainter& painter, Qt::Alignment corner, const QString& text) const;

  SeamScene scene_;
  QString caption_;
  bool snap_ = true;
  SeamSide active_ = SeamSide::LoopEnd;
  bool dragging_ = false;
  double pressX_ = 0;
  int pressPoint_ = 0;
};

}  // namespace kelvora::editor
