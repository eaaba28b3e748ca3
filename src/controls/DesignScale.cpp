#include "controls/DesignScale.h"

#include <QFontMetrics>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace kelvora::controls {

namespace {
constexpr double kDesignLineHeight = 13.0;
}

int Design(int designPixels, const QWidget* widget) {
  const double ratio = QFontMetrics(widget->font()).height() / kDesignLineHeight;
  return static_cast<int>(std::lround(designPixels * std::max(ratio, 1.0)));
}

}  // namespace kelvora::controls
