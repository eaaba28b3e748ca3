#pragma once

#include <QIcon>
#include <QString>

namespace kelvora::app {

// A tool-button picture drawn from its SVG resource at the exact pixel size of every screen
// scale, so it stays crisp; the disabled state is drawn greyed.
QIcon SvgIcon(const QString& resource, int logicalSize);

}  // namespace kelvora::app
