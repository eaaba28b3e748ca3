#include "app/ToolIcon.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace kelvora::app {

namespace {

QPixmap Render(QSvgRenderer& renderer, int logicalSize, qreal scale) {
  const int pixels = qRound(logicalSize * scale);
  QPixmap pixmap(pixels, pixels);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  renderer.render(&painter);
  painter.end();
  pixmap.setDevicePixelRatio(scale);
  return pixmap;
}

QPixmap Greyed(const QPixmap& source) {
  QPixmap grey(source.size());
  grey.setDevicePixelRatio(source.devicePixelRatio());
  grey.fill(Qt::transparent);
  QPainter painter(&grey);
  painter.setOpacity(0.35);
  painter.drawPixmap(0, 0, source);
  return grey;
}

}  // namespace

QIcon SvgIcon(const QString& resource, int logicalSize) {
  QSvgRenderer renderer(resource);
  QIcon icon;
  if (!renderer.isValid()) return icon;
  for (qreal scale : {1.0, 1.25, 1.5, 2.0, 3.0}) {
    const QPixmap pixmap = Render(renderer, logicalSize, scale);
    icon.addPixmap(pixmap, QIcon::Normal);
    icon.addPixmap(Greyed(pixmap), QIcon::Disabled);
  }
  return icon;
}

}  // namespace kelvora::app
