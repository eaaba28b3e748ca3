// The drawing arithmetic of the waveform view, checked without a screen: the numbers, and the
// pixels the painter leaves in an image.
#include <QImage>
#include <QPainter>
#include <QtTest>
#include <array>

#include "editor/WavePainter.h"
#include "support/WindowTest.h"

using kelvora::editor::WavePainter;
using kelvora::editor::WaveScene;

namespace {

const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kGreen = qRgb(0, 255, 0);
const QRgb kGrey = qRgb(128, 128, 128);
const QRgb kRed = qRgb(255, 0, 0);
const QRgb kTeal = qRgb(0, 128, 128);

struct Picture {
  std::array<int, 512> points{};
  WaveScene scene;
  Picture(int viewStart, int viewStep, int value) {
    points.fill(value);
    scene.Overview = points.data();
    scene.ViewStart = viewStart;
    scene.ViewStep = viewStep;
    scene.ViewEnd = viewStart + 512 * viewStep;
    // markers out of the way unless a test puts them somewhere
    scene.SampleStart = scene.SampleEnd = scene.LoopStart = scene.LoopEnd = -1;
  }
};

// The image may be wider than the paint box, to see what lands just beyond its right edge.
QImage Render(const WavePainter& painter, const WaveScene& scene, int imageWidth = 0) {
  QImage image(std::max(imageWidth, painter.Width()), painter.Height(), QImage::Format_RGB32);
  image.fill(Qt::black);
  QPainter p(&image);
  painter.Paint(p, scene);
  return image;
}

}  // namespace

class PainterTest : public kelvora::testing::WindowTest {
  Q_OBJECT

 private Q_SLOTS:
  void columnsMapToPointsAcrossTheWholeWidth() {
    const WavePainter wide(1024, 300);
    QCOMPARE(wide.PointAt(0), 0);
    QCOMPARE(wide.PointAt(1023), 511);
    QCOMPARE(wide.PointAt(2), 1);    // 2 × 511 / 1023 = 0.999 rounds up
    QCOMPARE(wide.PointAt(-40), 0);  // outside the box: limited to the edge
    QCOMPARE(wide.PointAt(5000), 511);
    const WavePainter narrow(256, 300);
    QCOMPARE(narrow.PointAt(255), 511);
    QCOMPARE(narrow.PointAt(128), 257);  // 128 × 511 / 255 = 256.502, rounded
  }

  void aBoxOneColumnWideOrFlatDoesNotDivideByZero() {
    const WavePainter column(1, 1);
    QCOMPARE(column.PointAt(0), 0);
    QCOMPARE(column.Mid(), 0);
    QCOMPARE(column.ValueHeight(32767, 0), 0);
    const WavePainter empty(0, 0);
    Picture picture(0, 2, 1000);
    QVERIFY(empty.PeakBars(picture.scene).isEmpty());
  }

  void valuesBecomeRowsByTheVerticalScale() {
    const WavePainter painter(512, 258);  // mid = 128
    QCOMPARE(painter.Mid(), 128);
    QCOMPARE(painter.ValueHeight(32768, 8), 128);  // 1:256 reaches the half height at 32768
    QCOMPARE(painter.ValueHeight(128, 0), 128);    // 1:1 at 128
    QCOMPARE(painter.ValueHeight(16384, 8), 64);
    QCOMPARE(painter.ValueHeight(16384, 7), 128);  // each step doubles
    QCOMPARE(painter.ValueHeight(-300, 8), -1);    // truncated toward zero
    QCOMPARE(painter.ValueHeight(255, 8), 0);
    QCOMPARE(painter.ValueHeight(32767, 42), painter.ValueHeight(32767, 8));  // scale kept in 0..8
  }

  void scaleOneToOneClipsAtTheHalfHeight() {
    const WavePainter painter(512, 258);
    Picture peaks(0, 2, 20000);
    peaks.scene.VerticalScale = 0;
    const QLine bar = painter.PeakBars(peaks.scene).at(17);
    QCOMPARE(bar, QLine(17, 0, 17, 256));  // mid ± mid, not beyond
    Picture samples(0, 1, -20000);
    samples.scene.VerticalScale = 0;
    QCOMPARE(painter.SampleLine(samples.scene).at(3), QPoint(3, 256));
    samples.points.fill(20000);
    QCOMPARE(painter.SampleLine(samples.scene).at(3), QPoint(3, 0));
  }

  void markerColumnsCountOverviewPoints() {
    const WavePainter painter(600, 200);
    Picture picture(1000, 2, 0);
    QCOMPARE(painter.MarkerColumn(picture.scene, 1000), 0);
    QCOMPARE(painter.MarkerColumn(picture.scene, 1001), 0);              // same point
    QCOMPARE(painter.MarkerColumn(picture.scene, 1000 + 511 * 2), 600);  // 511 × 600 / 511
    QCOMPARE(painter.MarkerColumn(picture.scene, 2024), 601);  // ViewEnd: just beyond the edge
  }

  void aMarkerAtViewEndIsDrawnAndOneBeforeViewStartIsNot() {
    const WavePainter painter(511, 100);
    Picture picture(1000, 1, 0);  // window 1000 .. 1512
    picture.scene.SampleStart = 999;
    picture.scene.SampleEnd = 1512;  // column 512 × 511 / 511 = 512, one past the box
    const QImage image = Render(painter, picture.scene, 520);
    QCOMPARE(image.pixel(512, 50), kRed);  // the end marker's stem
    for (int x = 0; x < 4; ++x)
      QVERIFY2(image.pixel(x, 50) != kRed, "start marker before ViewStart drawn");
  }

  void sampleMarkersHaveFeetOutwardAndLoopMarkersSitInside() {
    const WavePainter painter(512, 100);
    Picture picture(0, 1, 0);
    picture.scene.SampleStart = 100;
    picture.scene.SampleEnd = 400;
    picture.scene.LoopOn = true;
    picture.scene.LoopStart = 200;
    picture.scene.LoopEnd = 300;
    const QImage image = Render(painter, picture.scene);
    // sample start at column 100: flag and foot to the left, rows 0 and H - 2
    QCOMPARE(image.pixel(98, 0), kRed);
    QCOMPARE(image.pixel(100, 50), kRed);
    QCOMPARE(image.pixel(98, 98), kRed);
    QVERIFY(image.pixel(101, 0) != kRed);
    QVERIFY(image.pixel(100, 99) != kRed);
    // sample end: to the right
    QCOMPARE(image.pixel(402, 0), kRed);
    QCOMPARE(image.pixel(402, 98), kRed);
    QVERIFY(image.pixel(399, 0) != kRed);
    // loop markers one row inside: rows 1 and H - 3
    QCOMPARE(image.pixel(198, 1), kTeal);
    QCOMPARE(image.pixel(198, 97), kTeal);
    QCOMPARE(image.pixel(302, 1), kTeal);
    QVERIFY(image.pixel(198, 0) != kTeal);
  }

  void loopMarkersOnlyWhenTheLoopIsOn() {
    const WavePainter painter(512, 100);
    Picture picture(0, 1, 0);
    picture.scene.LoopStart = 200;
    picture.scene.LoopEnd = 300;
    const QImage image = Render(painter, picture.scene);
    QVERIFY(image.pixel(200, 50) != kTeal);
    QVERIFY(image.pixel(300, 50) != kTeal);
  }

  void peaksAreGreenBarsAboutTheCentre() {
    const WavePainter painter(512, 258);  // mid 128
    Picture picture(0, 4, 16384);         // 64 pixels at 1:256
    const QImage image = Render(painter, picture.scene);
    QCOMPARE(image.pixel(100, 128 - 64), kGreen);
    QCOMPARE(image.pixel(100, 128 + 64), kGreen);
    QCOMPARE(image.pixel(100, 128 - 65), kBlack);
    QCOMPARE(image.pixel(100, 128 + 65), kBlack);
    QCOMPARE(image.pixel(100, 128), kGreen);  // no grey centre line in the peak picture
  }

  void samplesAreALineOverAGreyCentreLine() {
    const WavePainter painter(512, 258);
    Picture picture(0, 1, 0);
    for (int i = 256; i < 512; ++i) picture.points[i] = 16384;  // 64 rows up in the right half
    const QImage image = Render(painter, picture.scene);
    QCOMPARE(image.pixel(100, 128), kGreen);  // the line runs over the centre line
    QCOMPARE(image.pixel(400, 128 - 64), kGreen);
    QCOMPARE(image.pixel(400, 128), kGrey);
    QCOMPARE(image.pixel(400, 128 + 1), kBlack);
  }

  // 512 samples across 2045 columns: every sample at its own column, 4 apart, with a dot, the
  // line between them sloping instead of stepping.
  void deepZoomDrawsEachSampleWithADot() {
    const WavePainter painter(2045, 258);
    Picture picture(0, 1, 0);
    picture.points[100] = 16384;  // 64 rows up, at column 400
    for (int i = 300; i < 512; ++i) picture.points[i] = 16384;
    QVERIFY(painter.DeepZoom(picture.scene));
    const QPolygon points = painter.SamplePoints(picture.scene);
    QCOMPARE(points.size(), 512);
    QCOMPARE(points[100], QPoint(400, 128 - 64));
    QCOMPARE(points[511].x(), 2044);
    const QImage image = Render(painter, picture.scene);
    QCOMPARE(image.pixel(401, 128 - 63), kGreen);  // the dot around the sample
    QCOMPARE(image.pixel(399, 128 - 65), kGreen);
    QCOMPARE(image.pixel(402, 128 - 32), kGreen);  // the line slopes down to the next sample
    QCOMPARE(image.pixel(397, 128 - 32), kBlack);
    QCOMPARE(image.pixel(1602, 128), kGrey);  // the centre line under a raised stretch
    QCOMPARE(image.pixel(1602, 128 - 64), kGreen);
    QCOMPARE(image.pixel(1602, 128 - 65), kBlack);  // between two dots only the line
    QCOMPARE(image.pixel(1601, 128 - 65), kGreen);
    // With fewer columns than samples the line keeps one point per column, without dots.
    QVERIFY(!WavePainter(512, 258).DeepZoom(picture.scene));
    QVERIFY(!painter.DeepZoom(Picture(0, 2, 0).scene));
  }

  void theBandSpansTheSelectedPointsColumns() {
    const WavePainter painter(1024, 100);
    Picture picture(10000, 4, 0);
    // points 10 .. 20 of the window: columns floor(10 × 1023 / 511 + 0.5) .. floor(20 × 1023 / 511
    // + 0.5)
    const auto band = painter.BandColumns(picture.scene, 10000 + 40, 10000 + 21 * 4 - 1);
    QCOMPARE(band.first, 20);
    QCOMPARE(band.second, 40);
    QCOMPARE(painter.BandRect(band.first, band.second), QRect(20, 0, 21, 100));
  }

  void aBandNarrowerThanOnePointKeepsOneColumn() {
    const WavePainter painter(1024, 100);
    Picture picture(0, 4, 0);
    // positions 0 .. 2 do not fill point 0: the last whole point is -1, the band stays at column 0
    const auto band = painter.BandColumns(picture.scene, 0, 2);
    QCOMPARE(band.first, 0);
    QCOMPARE(band.second, 0);
  }

  void aBandOutsideTheWindowStaysANumberNearTheBox() {
    const WavePainter painter(512, 100);
    Picture picture(1000000, 1, 0);
    const auto band = painter.BandColumns(picture.scene, 0, 2000000000);
    QVERIFY(band.first >= -1 && band.first <= 512);
    QVERIFY(band.second >= band.first && band.second <= 512);
  }

  void invertingTheBandTwiceRestoresThePicture() {
    const WavePainter painter(512, 100);
    Picture picture(0, 2, 8192);
    QImage image = Render(painter, picture.scene);
    const QImage before = image;
    {
      QPainter p(&image);
      painter.InvertBand(p, 10, 19);
    }
    QCOMPARE(image.pixel(10, 0), qRgb(255, 255, 255));  // black becomes white
    QCOMPARE(image.pixel(15, 49), qRgb(255, 0, 255));   // green becomes magenta
    QCOMPARE(image.pixel(20, 0), kBlack);               // the column after the band is untouched
    {
      QPainter p(&image);
      painter.InvertBand(p, 10, 19);
    }
    QCOMPARE(image, before);
  }
};

QTEST_MAIN(PainterTest)
#include "view_painter_test.moc"
