// The window commands of the waveform view: zoom, show all, the status-bar jump and the scroll
// bar. Every window change is clamped by the session and ends in a fresh overview.
#include <QScrollBar>
#include <algorithm>
#include <cmath>

#include "editor/PaintBox.h"
#include "editor/WaveView.h"
#include "protocol/Eps.h"
#include "protocol/Records.h"

namespace kelvora::editor {

namespace {

// Positions around a marker that the status-bar jump shows on either side.
constexpr int kJumpHalfWidth = 256;

}  // namespace

void WaveView::ClearSelectionForWindowChange() {
  hasSelection_ = false;
  NotifyStateChanged();
  box_->update();
}

void WaveView::FinishWindowChange() {
  eps_.RefreshOverview();
  RefreshView();
}

void WaveView::ZoomIn() {
  if (!eps_.WsOpen || !hasSelection_ || eps_.ViewStep <= 1) return;
  const int start = selStart_;
  const int end = selEnd_;
  ClearSelectionForWindowChange();
  // The new window starts at the selection; it is not centred on it.
  eps_.SetViewEnd(end);
  eps_.SetViewStart(start);
  FinishWindowChange();
}

void WaveView::ZoomOut() {
  if (!eps_.WsOpen || !eps_.Zoomed) return;
  const int width = 512 * eps_.ViewStep;
  eps_.SetViewStart(eps_.ViewStart - width / 2);
  eps_.SetViewEnd(eps_.ViewStart + 2 * width);
  eps_.SetViewStart(eps_.ViewEnd - 2 * width);
  FinishWindowChange();
}

void WaveView::ShowAll() {
  if (!eps_.WsOpen || !eps_.Zoomed) return;
  eps_.SetViewStart(0);
  eps_.SetViewEnd(eps_.WsLast + 1);
  FinishWindowChange();
}

void WaveView::JumpTo(int position) {
  if (!eps_.WsOpen) return;
  const int p = std::clamp(position, 0, protocol::kMaxPosition);
  ClearSelectionForWindowChange();
  eps_.SetViewEnd(p + kJumpHalfWidth);
  eps_.SetViewStart(p - kJumpHalfWidth);
  FinishWindowChange();
}

void WaveView::ScrollBarScroll(TScrollCode code, int position) {
  if (!eps_.WsOpen) return;
  const int width = 512 * eps_.ViewStep;
  switch (code) {
    case scLineUp:
      ClearSelectionForWindowChange();
      eps_.SetViewStart(eps_.ViewStart - width / 2);
      eps_.SetViewEnd(eps_.ViewStart + width);
      break;
    case scLineDown:
      ClearSelectionForWindowChange();
      eps_.SetViewEnd(eps_.ViewEnd + width / 2);
      eps_.SetViewStart(eps_.ViewEnd - width);
      break;
    case scPageUp:
      ClearSelectionForWindowChange();
      eps_.SetViewStart(eps_.ViewStart - width);
      eps_.SetViewEnd(eps_.ViewStart + width);
      break;
    case scPageDown:
      ClearSelectionForWindowChange();
      eps_.SetViewEnd(eps_.ViewEnd + width);
      eps_.SetViewStart(eps_.ViewEnd - width);
      break;
    case scPosition: {
      ClearSelectionForWindowChange();
      const double share = 0.001 * std::clamp(position, 0, kScrollRange);
      eps_.SetViewStart(static_cast<int>(std::trunc((eps_.WsLast + 1.0 - width) * share)));
      eps_.SetViewEnd(eps_.ViewStart + width);
      break;
    }
    default:
      return;  // dragging the thumb, to top or bottom, end of scroll: the window stays
  }
  FinishWindowChange();
}

void WaveView::ScrollBarAction(int action) {
  switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
      ScrollBarScroll(scLineUp, 0);
      break;
    case QAbstractSlider::SliderSingleStepAdd:
      ScrollBarScroll(scLineDown, 0);
      break;
    case QAbstractSlider::SliderPageStepSub:
      ScrollBarScroll(scPageUp, 0);
      break;
    case QAbstractSlider::SliderPageStepAdd:
      ScrollBarScroll(scPageDown, 0);
      break;
    case QAbstractSlider::SliderMove:
      if (scrollBar_->isSliderDown()) return;  // the thumb follows the pointer until released
      // The wheel: one line in its direction.
      if (scrollBar_->sliderPosition() != scrollBar_->value()) {
        ScrollBarScroll(scrollBar_->sliderPosition() > scrollBar_->value() ? scLineDown : scLineUp,
                        0);
      }
      break;
    default:
      ScrollBarScroll(action == QAbstractSlider::SliderToMinimum ? scTop : scBottom, 0);
      break;
  }
  // The thumb shows the true window, not where the action would have put it.
  scrollBar_->setSliderPosition(ScrollPosition());
}

void WaveView::ScrollBarReleased() {
  ScrollBarScroll(scPosition, scrollBar_->sliderPosition());
  // setValue, not setSliderPosition: outside an action that would count as a new move.
  scrollBar_->setValue(ScrollPosition());
}

}  // namespace kelvora::editor
