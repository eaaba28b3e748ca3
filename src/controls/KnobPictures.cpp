#include "controls/KnobPictures.h"

#include <cmath>
#include <numbers>

namespace kelvora::controls {

namespace {

constexpr int kSize = TKnobPictures::kSize;
constexpr int kCentre = TKnobPictures::kCentre;

// Radii in pixels from the centre of pixel (13, 13).
constexpr double kDiscRadius = 9.5;  // diameter 19, the same circle as the mask
constexpr double kRimInner = 8.0;
constexpr double kRingOuter = 10.6;
constexpr double kTickInner = 11.0;
constexpr double kTickOuter = 13.4;

const QRgb kFace = qRgb(192, 192, 192);
const QRgb kLight = qRgb(255, 255, 255);
const QRgb kShadow = qRgb(128, 128, 128);
const QRgb kRing = qRgb(64, 64, 64);
const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kWhite = qRgb(255, 255, 255);

double Distance(int x, int y) { return std::hypot(x - kCentre, y - kCentre); }

QImage Filled(QRgb colour) {
  QImage image(kSize, kSize, QImage::Format_RGB32);
  image.fill(colour);
  return image;
}

// Light falls from the upper left: the rim is light on that side, dark on the other.
QRgb DiscColour(int x, int y) {
  if (Distance(x, y) <= kRimInner) return kFace;
  const int side = (x - kCentre) + (y - kCentre);
  return side < 0 ? kLight : side > 0 ? kShadow : kFace;
}

void DrawDisc(QImage& image, bool focusRing) {
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      const double d = Distance(x, y);
      if (d <= kDiscRadius) {
        image.setPixel(x, y, DiscColour(x, y));
      } else if (focusRing && d <= kRingOuter) {
        image.setPixel(x, y, kRing);
      }
    }
  }
}

// Seven marks 45 degrees apart, from lower left (225 degrees) round the top to lower right.
void DrawTicks(QImage& image) {
  constexpr int kTicks = 7;
  for (int i = 0; i < kTicks; ++i) {
    const double angle = (225.0 - 45.0 * i) * std::numbers::pi / 180.0;
    for (double r = kTickInner; r <= kTickOuter; r += 0.25) {
      const int x = static_cast<int>(std::lround(kCentre + r * std::cos(angle)));
      const int y = static_cast<int>(std::lround(kCentre - r * std::sin(angle)));
      if (x >= 0 && x < kSize && y >= 0 && y < kSize) image.setPixel(x, y, kBlack);
    }
  }
}

QImage Knob(bool focusRing) {
  QImage image = Filled(TKnobPictures::BackgroundKey());
  DrawDisc(image, focusRing);
  DrawTicks(image);
  return image;
}

QImage MaskPicture() {
  QImage image = Filled(kWhite);
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      if (Distance(x, y) <= kDiscRadius) image.setPixel(x, y, kBlack);
    }
  }
  return image;
}

}  // namespace

TKnobPictures::TKnobPictures() : normal_(Knob(false)), focus_(Knob(true)), mask_(MaskPicture()) {}

}  // namespace kelvora::controls
