#pragma once

#include <QWidget>
#include <functional>

#include "editor/WavePainter.h"

class QMouseEvent;
class QPainter;
class QScrollBar;

namespace kelvora::protocol {
class TEps;
}

namespace kelvora::editor {

class PaintBox;

// What happened to the scroll bar.
enum TScrollCode {
  scLineUp,
  scLineDown,
  scPageUp,
  scPageDown,
  scPosition,  // the thumb was released
  scTrack,     // the thumb is being dragged
  scTop,
  scBottom,
  scEndScroll,
};

// The waveform view of the main window: WaveScrollBox with WaveBox and ScrollBar (0..1000), the
// selection, the vertical scale and the window commands. It draws what TEps holds.
class WaveView : public QWidget {
 public:
  static constexpr int kScrollRange = 1000;

  WaveView(protocol::TEps& eps, QWidget* parent = nullptr);
  ~WaveView() override;

  // Called where the main window must run UpdateCommands.
  void SetOnStateChanged(std::function<void()> f);

  bool HasSelection() const { return hasSelection_; }
  int SelStart() const { return selStart_; }
  int SelEnd() const { return selEnd_; }  // inclusive
  // HasSelection := false; the band goes at the next paint, the commands are the caller's.
  void ClearSelection();

  int VerticalScale() const { return verticalScale_; }  // 0 ("1:1") .. 8 ("1:256")
  // The view's part of a scale change: the picture is drawn again from the points already held.
  void SetVerticalScale(int index);

  void RefreshView();
  void ResetView();  // after open and close: no selection, commands updated, repainted

  void ZoomIn();
  void ZoomOut();
  void ShowAll();
  // The status-bar jump: the 512 positions around position at one sample per point.
  void JumpTo(int position);
  void ScrollBarScroll(TScrollCode code, int position);

  bool Auditioning() const { return auditioning_; }

  QWidget* WaveBox();
  QWidget* WaveScrollBox() { return scrollBox_; }
  QScrollBar* ScrollBar() { return scrollBar_; }

 protected:
  void hideEvent(QHideEvent* event) override;

 private:
  WaveScene Scene() const;
  // Thumb position 0..1000 of the current window.
  int ScrollPosition() const;
  void NotifyStateChanged();
  void ClearSelectionForWindowChange();
  void FinishWindowChange();
  void UpdateSelection();
  void DrawSelection();
  void StopAuditionIfPlaying();

  void WaveBoxPaint(QPainter& painter);
  void WaveBoxMouseDown(QMouseEvent& event);
  void WaveBoxMouseMove(QMouseEvent& event);
  void WaveBoxMouseUp(QMouseEvent& event);
  void ScrollBarAction(int action);
  void ScrollBarReleased();

  protocol::TEps& eps_;
  std::function<void()> onStateChanged_;
  QWidget* scrollBox_;
  PaintBox* box_;
  QScrollBar* scrollBar_;

  bool dragging_ = false;
  int anchorPoint_ = 0;
  int currentPoint_ = 0;
  int selStart_ = 0;
  int selEnd_ = 0;
  bool hasSelection_ = false;
  bool highlightShown_ = false;
  int highlightLeft_ = 0;
  int highlightRight_ = 0;
  int verticalScale_ = 8;
  bool auditioning_ = false;
};

}  // namespace kelvora::editor
