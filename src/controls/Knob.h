#pragma once

#include <QImage>
#include <QWidget>
#include <cstdint>

#include "controls/KnobPictures.h"

namespace kelvora::controls {

// A 27 x 27 rotary knob. The indicator sweeps 270 degrees clockwise over seven tick marks, from
// lower left at Min through the top to lower right at Max. A vertical drag with the left button
// changes the value (Sensitivity pixels sweep the whole range; up raises it); the arrow keys step
// by SmallChange. Ctrl, or the right button held during a drag, snaps to the tick marks.
class TKnob : public QWidget {
  Q_OBJECT
  Q_PROPERTY(int Min READ Min WRITE SetMin)
  Q_PROPERTY(int Max READ Max WRITE SetMax)
  Q_PROPERTY(int Position READ Position WRITE SetPosition NOTIFY OnChange)
  Q_PROPERTY(int Sensitivity READ Sensitivity WRITE SetSensitivity)
  Q_PROPERTY(int SmallChange READ SmallChange WRITE SetSmallChange)

 public:
  static constexpr int kMinSensitivity = 3;  // a snapping drag divides by Sensitivity div 3

  explicit TKnob(QWidget* parent = nullptr);

  int Min() const { return min_; }
  int Max() const { return max_; }
  int Position() const { return position_; }
  int Sensitivity() const { return sensitivity_; }
  int SmallChange() const { return smallChange_; }

  // Min and Max ignore a value that would break Min < Max; a Position left outside is pulled in
  // without OnChange.
  void SetMin(int value);
  void SetMax(int value);
  // Clamps into Min..Max, repaints and emits OnChange, also when the value stays the same.
  void SetPosition(int value);
  void SetSensitivity(int value);  // below kMinSensitivity is stored as kMinSensitivity
  void SetSmallChange(int value) { smallChange_ = value; }

  // The nearest of the seven tick values Min + trunc(k * (Max - Min) / 6), halves going up.
  int Snap(int value) const;

  QSize sizeHint() const override;

 Q_SIGNALS:
  void OnChange();

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  int64_t Range() const { return int64_t{max_} - min_; }
  float Step() const;
  int64_t Tick(int k) const;
  int64_t SnapWide(int64_t value) const;
  void SetPositionWide(int64_t value);
  void StepToTickAbove();
  void StepToTickBelow();
  void Anchor(QPoint at);
  QColor BackgroundColour() const;
  void ComposePicture();

  TKnobPictures pictures_;
  QImage line_;     // scratch: where the indicator goes, black on white
  QImage compose_;  // scratch: the picture painted on the control

  int min_ = 0;
  int max_ = 100;
  int position_ = 0;
  int sensitivity_ = 128;
  int smallChange_ = 1;

  bool dragging_ = false;
  bool snapping_ = false;
  int downX_ = 0;
  int downY_ = 0;
  int downPosition_ = 0;
};

}  // namespace kelvora::controls
