#include "editor/WavePainter.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace kelvora::editor {

namespace {

const QColor kPeakColour(0, 255, 0);
const QColor kCentreColour(128, 128, 128);
const QColor kLoopColour(0, 128, 128);
const QColor kSampleMarkerColour(255, 0, 0);

// Values from the sampler are at most 16 bits; anything beyond this is bad data and is drawn
// clipped rather than overflowing the conversion to int.
constexpr double kHeightLimit = 1e9;

int LimitedInt(double value, double low, double high) {
  return static_cast<int>(std::clamp(value, low, high));
}

QPen CosmeticPen(const QColor& colour) {
  QPen pen(colour);
  pen.setWidth(0);
  pen.setCapStyle(Qt::SquareCap);  // the last pixel of every line is drawn
  return pen;
}

}  // namespace

WavePainter::WavePainter(int width, int height)
    : width_(std::max(0, width)),
      height_(std::max(0, height)),
      mid_(std::max(0, (height_ - 2) / 2)) {}

int WavePainter::PointAt(int x) const {
  if (width_ < 2) return 0;
  const int column = std::clamp(x, 0, width_ - 1);
  const double point = std::floor(column * 511.0 / (width_ - 1) + 0.5);
  return LimitedInt(point, 0, kPoints - 1);
}

int WavePainter::ValueHeight(int value, int verticalScale) const {
  if (mid_ <= 0) return 0;
  const int scale = std::clamp(verticalScale, 0, 8);
  // At 1:256 (scale 8) a value of 32768 reaches the half height; each step down doubles it.
  const double divisor = 128.0 * static_cast<double>(1 << scale) / mid_;
  return LimitedInt(std::trunc(value / divisor), -kHeightLimit, kHeightLimit);
}

bool WavePainter::MarkerVisible(const WaveScene& scene, int position) {
  return scene.ViewStart <= position && position <= scene.ViewEnd;
}

int WavePainter::MarkerColumn(const WaveScene& scene, int position) const {
  const long long step = std::max(1, scene.ViewStep);
  const long long point = (static_cast<long long>(position) - scene.ViewStart) / step;
  const long long column = point * width_ / 511;
  return static_cast<int>(std::clamp<long long>(column, -width_ - 1, 2LL * width_ + 1));
}

int WavePainter::ColumnOfPoint(int point) const {
  const double column = std::floor(point * static_cast<double>(width_ - 1) / 511.0 + 0.5);
  // Columns outside the box are clipped when drawn; the limit only keeps the number an int.
  return LimitedInt(column, -1, width_);
}

QPair<int, int> WavePainter::BandColumns(const WaveScene& scene, int selStart, int selEnd) const {
  const long long step = std::max(1, scene.ViewStep);
  const long long first = (static_cast<long long>(selStart) - scene.ViewStart) / step;
  const long long last = (static_cast<long long>(selEnd) - scene.ViewStart + 1) / step - 1;
  const auto limit = [](long long point) {
    return static_cast<int>(std::clamp<long long>(point, -2 * kPoints, 4 * kPoints));
  };
  const int left = ColumnOfPoint(limit(first));
  const int right = std::max(left, ColumnOfPoint(limit(last)));
  return {left, right};
}

QRect WavePainter::BandRect(int left, int right) const {
  return QRect(QPoint(left, 0), QPoint(right, height_ - 1));
}

QVector<QLine> WavePainter::PeakBars(const WaveScene& scene) const {
  QVector<QLine> bars;
  if (scene.Overview == nullptr) return bars;
  bars.reserve(width_);
  for (int c = 0; c < width_; ++c) {
    const int v = ValueHeight(scene.Overview[PointAt(c)], scene.VerticalScale);
    // Peaks are heights; a negative one is drawn by its size, symmetrically like the others.
    const int b = std::min(std::abs(v), mid_);
    bars.append(QLine(c, mid_ - b, c, mid_ + b));
  }
  return bars;
}

QPolygon WavePainter::SampleLine(const WaveScene& scene) const {
  QPolygon line;
  if (scene.Overview == nullptr) return line;
  line.reserve(width_);
  for (int c = 0; c < width_; ++c) {
    const int v = ValueHeight(scene.Overview[PointAt(c)], scene.VerticalScale);
    line.append(QPoint(c, mid_ - std::clamp(v, -mid_, mid_)));
  }
  return line;
}

bool WavePainter::DeepZoom(const WaveScene& scene) const {
  return scene.ViewStep <= 1 && width_ > kPoints;
}

QPolygon WavePainter::SamplePoints(const WaveScene& scene) const {
  QPolygon points;
  if (scene.Overview == nullptr) return points;
  points.reserve(kPoints);
  for (int i = 0; i < kPoints; ++i) {
    const int v = ValueHeight(scene.Overview[i], scene.VerticalScale);
    points.append(QPoint(ColumnOfPoint(i), mid_ - std::clamp(v, -mid_, mid_)));
  }
  return points;
}

QLine WavePainter::CentreLine() const { return QLine(0, mid_, width_ - 1, mid_); }

QPolygon WavePainter::SampleStartMarker(int x) const {
  return QPolygon(
      {QPoint(x - 2, 0), QPoint(x, 0), QPoint(x, height_ - 2), QPoint(x - 2, height_ - 2)});
}

QPolygon WavePainter::SampleEndMarker(int x) const {
  return QPolygon(
      {QPoint(x + 2, 0), QPoint(x, 0), QPoint(x, height_ - 2), QPoint(x + 2, height_ - 2)});
}

QPolygon WavePainter::LoopStartMarker(int x) const {
  return QPolygon(
      {QPoint(x - 2, 1), QPoint(x, 1), QPoint(x, height_ - 3), QPoint(x - 2, height_ - 3)});
}

QPolygon WavePainter::LoopEndMarker(int x) const {
  return QPolygon(
      {QPoint(x + 2, 1), QPoint(x, 1), QPoint(x, height_ - 3), QPoint(x + 2, height_ - 3)});
}

void WavePainter::Paint(QPainter& painter, const WaveScene& scene) const {
  if (width_ == 0 || height_ == 0) return;
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  PaintWave(painter, scene);
  PaintMarkers(painter, scene);
  painter.restore();
}

void WavePainter::PaintWave(QPainter& painter, const WaveScene& scene) const {
  if (scene.ViewStep >= 2) {
    for (const QLine& bar : PeakBars(scene)) {
      painter.fillRect(QRect(bar.p1(), bar.p2()), kPeakColour);
    }
    return;
  }
  painter.setPen(CosmeticPen(kCentreColour));
  painter.drawLine(CentreLine());
  if (DeepZoom(scene)) {
    PaintSamples(painter, scene);
    return;
  }
  painter.setPen(CosmeticPen(kPeakColour));
  painter.drawPolyline(SampleLine(scene));
}

// A dot on each sample, so single samples stand out from the line between them: 3 × 3 pixels
// where the samples are at least 4 columns apart, else 2 × 2.
void WavePainter::PaintSamples(QPainter& painter, const WaveScene& scene) const {
  const QPolygon points = SamplePoints(scene);
  painter.setPen(CosmeticPen(kPeakColour));
  painter.drawPolyline(points);
  const int dot = (width_ - 1) / (kPoints - 1) >= 4 ? 3 : 2;
  for (const QPoint& point : points) {
    painter.fillRect(point.x() - dot / 2, point.y() - dot / 2, dot, dot, kPeakColour);
  }
}

void WavePainter::PaintMarkers(QPainter& painter, const WaveScene& scene) const {
  const auto draw = [&](int position, QPolygon (WavePainter::*shape)(int) const) {
    if (MarkerVisible(scene, position))
      painter.drawPolyline((this->*shape)(MarkerColumn(scene, position)));
  };
  if (scene.LoopOn) {
    painter.setPen(CosmeticPen(kLoopColour));
    draw(scene.LoopStart, &WavePainter::LoopStartMarker);
    draw(scene.LoopEnd, &WavePainter::LoopEndMarker);
  }
  painter.setPen(CosmeticPen(kSampleMarkerColour));
  draw(scene.SampleStart, &WavePainter::SampleStartMarker);
  draw(scene.SampleEnd, &WavePainter::SampleEndMarker);
}

void WavePainter::InvertBand(QPainter& painter, int left, int right) const {
  painter.save();
  // white minus the pixel: the inverse colour, and the same operation undoes it
  painter.setCompositionMode(QPainter::CompositionMode_Difference);
  painter.fillRect(BandRect(left, right), Qt::white);
  painter.restore();
}

}  // namespace kelvora::editor
