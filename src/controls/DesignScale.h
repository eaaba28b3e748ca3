#pragma once

class QWidget;

namespace kelvora::controls {

// The windows were drawn for an 8-point font with 13-pixel lines. Sizes given in those design
// pixels are scaled by the ratio of the widget's actual line height, so that panels and buttons
// keep their proportions to the text under any font and any screen scaling.
int Design(int designPixels, const QWidget* widget);

}  // namespace kelvora::controls
