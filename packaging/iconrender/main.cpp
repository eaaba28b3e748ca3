// kelvora-iconrender: draws an SVG into a square PNG of a given size, so the desktop icons of
// every size come from one drawing at build time.
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>
#include <string>

namespace {

constexpr int kMinSize = 1;
constexpr int kMaxSize = 4096;

int Fail(const std::string& reason) {
  std::fprintf(stderr, "kelvora-iconrender: %s\n", reason.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) return Fail("usage: kelvora-iconrender SOURCE.svg SIZE OUTPUT.png");
  bool numeric = false;
  const int size = QString::fromLocal8Bit(argv[2]).toInt(&numeric);
  if (!numeric || size < kMinSize || size > kMaxSize) {
    return Fail(std::string("size '") + argv[2] + "' is not a whole number 1..4096");
  }
  QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
  if (!renderer.isValid()) return Fail(std::string("cannot read the drawing ") + argv[1]);
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  renderer.render(&painter);
  painter.end();
  if (!image.save(QString::fromLocal8Bit(argv[3]), "PNG")) {
    return Fail(std::string("cannot write ") + argv[3]);
  }
  return 0;
}
