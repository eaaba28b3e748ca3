#include "editor/WaveView.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "editor/PaintBox.h"
#include "protocol/Eps.h"
#include "protocol/Records.h"

namespace kelvora::editor {

using protocol::TEps;

namespace {

const QColor kClosedBackground(192, 192, 192);
const QColor kOpenBackground(0, 0, 0);
constexpr int kScrollBarHeight = 16;

bool LoopIsOn(int playbackMode) {
  return playbackMode != protocol::kForwardNoLoop && playbackMode != protocol::kBackwardNoLoop;
}

int PixelColumn(const QMouseEvent& event) {
  return static_cast<int>(std::floor(event.position().x()));
}

}  // namespace

WaveView::WaveView(TEps& eps, QWidget* parent) : QWidget(parent), eps_(eps) {
  scrollBox_ = new QWidget(this);
  scrollBox_->setObjectName(QStringLiteral("WaveScrollBox"));
  scrollBox_->setAutoFillBackground(true);
  box_ = new PaintBox(scrollBox_);
  box_->setObjectName(QStringLiteral("WaveBox"));
  box_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  scrollBar_ = new QScrollBar(Qt::Horizontal, scrollBox_);
  scrollBar_->setObjectName(QStringLiteral("ScrollBar"));
  scrollBar_->setRange(0, kScrollRange);
  scrollBar_->setPageStep(0);
  scrollBar_->setFixedHeight(kScrollBarHeight);
  scrollBar_->hide();

  auto* boxLayout = new QVBoxLayout(scrollBox_);
  boxLayout->setContentsMargins(0, 0, 0, 0);
  boxLayout->setSpacing(0);
  boxLayout->addWidget(box_, 1);
  boxLayout->addWidget(scrollBar_);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(scrollBox_);

  box_->OnPaint = [this](QPainter& painter) { WaveBoxPaint(painter); };
  box_->OnMouseDown = [this](QMouseEvent& event) { WaveBoxMouseDown(event); };
  box_->OnMouseMove = [this](QMouseEvent& event) { WaveBoxMouseMove(event); };
  box_->OnMouseUp = [this](QMouseEvent& event) { WaveBoxMouseUp(event); };
  connect(scrollBar_, &QAbstractSlider::actionTriggered, this, &WaveView::ScrollBarAction);
  connect(scrollBar_, &QAbstractSlider::sliderReleased, this, &WaveView::ScrollBarReleased);
  RefreshView();
}

WaveView::~WaveView() = default;

void WaveView::SetOnStateChanged(std::function<void()> f) { onStateChanged_ = std::move(f); }

QWidget* WaveView::WaveBox() { return box_; }

void WaveView::NotifyStateChanged() {
  if (onStateChanged_) onStateChanged_();
}

void WaveView::ClearSelection() {
  hasSelection_ = false;
  box_->update();
}

void WaveView::SetVerticalScale(int index) {
  verticalScale_ = std::clamp(index, 0, 8);
  RefreshView();
}

void WaveView::RefreshView() {
  QPalette palette = scrollBox_->palette();
  palette.setColor(QPalette::Window, eps_.WsOpen ? kOpenBackground : kClosedBackground);
  scrollBox_->setPalette(palette);
  scrollBar_->setVisible(eps_.WsOpen && eps_.Zoomed);
  if (eps_.WsOpen) scrollBar_->setValue(ScrollPosition());
  scrollBox_->update();
  box_->update();
}

int WaveView::ScrollPosition() const {
  if (!eps_.WsOpen) return 0;
  // How far the window can move; a wavesample not longer than one window cannot scroll.
  const long long room = static_cast<long long>(eps_.WsLast) + 1 - 512LL * eps_.ViewStep;
  if (room <= 0) return 0;
  const double position = std::trunc(eps_.ViewStart / static_cast<double>(room) * kScrollRange);
  return static_cast<int>(std::clamp(position, 0.0, static_cast<double>(kScrollRange)));
}

void WaveView::ResetView() {
  StopAuditionIfPlaying();
  dragging_ = false;
  hasSelection_ = false;
  NotifyStateChanged();
  RefreshView();
}

WaveScene WaveView::Scene() const {
  WaveScene scene;
  scene.Overview = eps_.Overview;
  scene.ViewStart = eps_.ViewStart;
  scene.ViewEnd = eps_.ViewEnd;
  scene.ViewStep = std::max(1, eps_.ViewStep);
  scene.VerticalScale = verticalScale_;
  scene.SampleStart = protocol::GetPosition(eps_.WsParams, protocol::kWsSampleStart);
  scene.SampleEnd = protocol::GetPosition(eps_.WsParams, protocol::kWsSampleEnd);
  scene.LoopOn = LoopIsOn(eps_.WsParams[protocol::kWsPlaybackMode]);
  scene.LoopStart = protocol::GetPosition(eps_.WsParams, protocol::kWsLoopStart);
  scene.LoopEnd = protocol::GetPosition(eps_.WsParams, protocol::kWsLoopEnd);
  return scene;
}

void WaveView::WaveBoxPaint(QPainter& painter) {
  highlightShown_ = false;  // a repaint wipes the band
  if (!eps_.WsOpen) return;
  const WavePainter wave(box_->width(), box_->height());
  const WaveScene scene = Scene();
  wave.Paint(painter, scene);
  if (!hasSelection_) return;
  const auto [left, right] = wave.BandColumns(scene, selStart_, selEnd_);
  wave.InvertBand(painter, left, right);
  highlightShown_ = true;
  highlightLeft_ = left;
  highlightRight_ = right;
}

void WaveView::DrawSelection() {
  // Widgets draw only inside their paint event: the old and the new band are repainted there,
  // which removes the one and inverts the other.
  const WavePainter wave(box_->width(), box_->height());
  QRegion dirty;
  if (highlightShown_) dirty += wave.BandRect(highlightLeft_, highlightRight_);
  const auto [left, right] = wave.BandColumns(Scene(), selStart_, selEnd_);
  dirty += wave.BandRect(left, right);
  box_->update(dirty);
}

void WaveView::UpdateSelection() {
  const int lo = std::min(anchorPoint_, currentPoint_);
  const int hi = std::max(anchorPoint_, currentPoint_);
  const int step = std::max(1, eps_.ViewStep);
  selStart_ = eps_.ViewStart + lo * step;
  selEnd_ = eps_.ViewStart + (hi + 1) * step - 1;
  hasSelection_ = true;
  NotifyStateChanged();
  DrawSelection();
}

void WaveView::WaveBoxMouseDown(QMouseEvent& event) {
  if (!eps_.WsOpen) return;
  if (event.button() == Qt::LeftButton) {
    dragging_ = true;
    anchorPoint_ = currentPoint_ =
        WavePainter(box_->width(), box_->height()).PointAt(PixelColumn(event));
    UpdateSelection();
  } else if (event.button() == Qt::RightButton && !auditioning_) {
    // The note sounds while the button is held; its release ends it.
    eps_.SelectInstrument();
    eps_.StartAudition();
    auditioning_ = true;
  }
}

void WaveView::WaveBoxMouseMove(QMouseEvent& event) {
  if (!dragging_) return;
  currentPoint_ = WavePainter(box_->width(), box_->height()).PointAt(PixelColumn(event));
  UpdateSelection();
}

void WaveView::WaveBoxMouseUp(QMouseEvent& event) {
  if (event.button() == Qt::LeftButton) dragging_ = false;
  if (event.button() == Qt::RightButton) StopAuditionIfPlaying();
}

void WaveView::StopAuditionIfPlaying() {
  if (!auditioning_) return;
  auditioning_ = false;
  eps_.StopAudition();
}

void WaveView::hideEvent(QHideEvent* event) {
  // A hidden view gets no release any more: a held note would sound on.
  StopAuditionIfPlaying();
  dragging_ = false;
  QWidget::hideEvent(event);
}

}  // namespace kelvora::editor
