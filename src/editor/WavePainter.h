#pragma once

#include <QLine>
#include <QPair>
#include <QPolygon>
#include <QRect>
#include <QVector>

class QPainter;

namespace kelvora::editor {

// What one picture of the waveform view shows: the 512 points of the window, the marker positions
// and the vertical scale. Positions are sample positions from the start of the wavesample's data.
struct WaveScene {
  const int* Overview = nullptr;  // 512 points
  int ViewStart = 0;
  int ViewEnd = 0;
  int ViewStep = 1;
  int VerticalScale = 8;  // 0 is 1:1 .. 8 is 1:256
  int SampleStart = 0;
  int SampleEnd = 0;
  bool LoopOn = false;
  int LoopStart = 0;
  int LoopEnd = 0;
};

// The drawing arithmetic of the waveform view for a paint box of a given size: which overview
// point a column shows, how high a value is drawn, where markers and the selection band go, and
// the lines that make up the picture. It needs no screen; the widget only hands it a QPainter.
class WavePainter {
 public:
  static constexpr int kPoints = 512;

  WavePainter(int width, int height);

  int Width() const { return width_; }
  int Height() const { return height_; }
  // The centre row, which is also the half height in pixels.
  int Mid() const { return mid_; }

  // Overview point 0..511 under column x; x is first limited to the paint box.
  int PointAt(int x) const;
  // Height in pixels of value above the centre line at the given scale, not yet limited.
  int ValueHeight(int value, int verticalScale) const;

  static bool MarkerVisible(const WaveScene& scene, int position);
  int MarkerColumn(const WaveScene& scene, int position) const;

  // First and last pixel column of the selection band for SelStart .. SelEnd (inclusive).
  QPair<int, int> BandColumns(const WaveScene& scene, int selStart, int selEnd) const;
  // The pixels the band covers: whole columns, the full height.
  QRect BandRect(int left, int right) const;

  // One vertical bar per column at ViewStep >= 2, top and bottom rows inclusive.
  QVector<QLine> PeakBars(const WaveScene& scene) const;
  // One point per column at ViewStep 1, joined from left to right.
  QPolygon SampleLine(const WaveScene& scene) const;
  // At deep zoom (ViewStep 1 and more columns than points) each of the 512 samples at its own
  // column, left to right: the line runs through them and each gets a dot.
  bool DeepZoom(const WaveScene& scene) const;
  QPolygon SamplePoints(const WaveScene& scene) const;
  QLine CentreLine() const;

  // Markers with their feet; loop markers sit one pixel inside the sample markers.
  QPolygon SampleStartMarker(int x) const;
  QPolygon SampleEndMarker(int x) const;
  QPolygon LoopStartMarker(int x) const;
  QPolygon LoopEndMarker(int x) const;

  // Draws the waveform and the markers; the background is left as it is.
  void Paint(QPainter& painter, const WaveScene& scene) const;
  // Inverts the pixels of the band, so drawing it twice removes it.
  void InvertBand(QPainter& painter, int left, int right) const;

 private:
  int ColumnOfPoint(int point) const;
  void PaintWave(QPainter& painter, const WaveScene& scene) const;
  void PaintSamples(QPainter& painter, const WaveScene& scene) const;
  void PaintMarkers(QPainter& painter, const WaveScene& scene) const;

  int width_;
  int height_;
  int mid_;
};

}  // namespace kelvora::editor
