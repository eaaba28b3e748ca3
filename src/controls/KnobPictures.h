#pragma once

#include <QImage>

namespace kelvora::controls {

// The three 27 x 27 pictures of the knob, drawn pixel by pixel so they look the same everywhere.
// Normal and Focus show the grey disc with its rim and seven tick marks on pure red, which the
// knob replaces by its parent's background; Focus adds a dark ring round the disc. Mask is white
// with a black disc of diameter 19: the only place the indicator may show.
class TKnobPictures {
 public:
  static constexpr int kSize = 27;
  static constexpr int kCentre = 13;

  TKnobPictures();

  const QImage& Normal() const { return normal_; }
  const QImage& Focus() const { return focus_; }
  const QImage& Mask() const { return mask_; }

  // The colour in Normal and Focus that stands for the background.
  static QRgb BackgroundKey() { return qRgb(255, 0, 0); }

 private:
  QImage normal_;
  QImage focus_;
  QImage mask_;
};

}  // namespace kelvora::controls
