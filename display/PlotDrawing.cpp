#include "display/PlotDrawing.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

// Far outside any image, yet small enough that the line arithmetic below cannot overflow.
constexpr double kCoordinateLimit = 1 << 28;

bool Drawable(const QImage& image) {
  return image.depth() == 32 && !image.isNull();
}

// Direct pixel access, fetched once per line rather than once per pixel.
struct Pixels {
  explicit Pixels(QImage& image)
      : bits(image.bits()),
        bytesPerLine(image.bytesPerLine()),
        width(image.width()),
        height(image.height()) {}
  void Put(int64_t x, int64_t y, QRgb colour) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return;
    reinterpret_cast<QRgb*>(bits + y * bytesPerLine)[x] = colour;
  }
  uchar* bits;
  qsizetype bytesPerLine;
  int width, height;
};

}  // namespace

void DrawPlotLine(QImage& image, QPoint a, QPoint b, QRgb colour, PlotPen pen, int width) {
  if (!Drawable(image)) return;
  const int64_t dx = int64_t{b.x()} - a.x();
  const int64_t dy = int64_t{b.y()} - a.y();
  const int64_t steps = std::max(std::llabs(dx), std::llabs(dy));
  if (steps == 0) return;
  const bool xMajor = std::llabs(dx) >= std::llabs(dy);
  const int64_t major0 = xMajor ? a.x() : a.y();
  const int64_t minor0 = xMajor ? a.y() : a.x();
  const int64_t majorStep = (xMajor ? dx : dy) > 0 ? 1 : -1;
  const int64_t minorDelta = xMajor ? dy : dx;
  const int64_t majorLimit = xMajor ? image.width() : image.height();

  // Only the steps whose main coordinate lies inside the image are walked.
  int64_t first = 0;
  int64_t last = steps - 1;
  if (majorStep > 0) {
    first = std::max<int64_t>(first, -major0);
    last = std::min<int64_t>(last, majorLimit - 1 - major0);
  } else {
    first = std::max<int64_t>(first, major0 - (majorLimit - 1));
    last = std::min<int64_t>(last, major0);
  }
  const int thickness = std::max(width, 1);
  const int offset0 = -(thickness / 2);
  const Pixels pixels(image);
  for (int64_t k = first; k <= last; ++k) {
    if (pen == PlotPen::kDotted && (k % 2) != 0) continue;
    // The nearest minor coordinate, halves towards the start: the classic stepping line.
    const int64_t minor = minor0 + (minorDelta >= 0 ? 1 : -1) *
                                       ((2 * k * std::llabs(minorDelta) + steps - 1) / (2 * steps));
    const int64_t major = major0 + majorStep * k;
    for (int o = 0; o < thickness; ++o) {
      const int64_t across = minor + offset0 + o;
      if (xMajor) {
        pixels.Put(major, across, colour);
      } else {
        pixels.Put(across, major, colour);
      }
    }
  }
}

void FillPlotRect(QImage& image, const QRect& rect, QRgb colour) {
  if (!Drawable(image)) return;
  const QRect r = rect.intersected(image.rect());
  for (int y = r.top(); y <= r.bottom(); ++y) {
    QRgb* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    std::fill(row + r.left(), row + r.right() + 1, colour);
  }
}

void DrawPlotRectangle(QImage& image, QPoint c1, QPoint c2, QRgb pen, QRgb brush) {
  const int left = std::min(c1.x(), c2.x());
  const int right = std::max(c1.x(), c2.x());  // not covered
  const int top = std::min(c1.y(), c2.y());
  const int bottom = std::max(c1.y(), c2.y());  // not covered
  if (right <= left || bottom <= top) return;
  FillPlotRect(image, QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)), pen);
  if (right - left > 2 && bottom - top > 2) {
    FillPlotRect(image, QRect(QPoint(left + 1, top + 1), QPoint(right - 2, bottom - 2)), brush);
  }
}

int RoundHalfEven(double x) {
  if (std::isnan(x)) return 0;
  return static_cast<int>(std::nearbyint(std::clamp(x, -kCoordinateLimit, kCoordinateLimit)));
}

int TruncToInt(double x) {
  if (std::isnan(x)) return 0;
  return static_cast<int>(std::clamp(x, -kCoordinateLimit, kCoordinateLimit));
}

void DrawPlotText(QPainter& painter, QPoint topLeft, const QString& text) {
  const int ascent = painter.fontMetrics().ascent();
  painter.drawText(QPoint(topLeft.x(), topLeft.y() + ascent), text);
}

QStringList PageFontFamilies() {
  return {"MS Sans Serif", "Liberation Sans", "DejaVu Sans", "Arial", "sans-serif"};
}

QFont PlotTextFont() {
  QFont font;
  font.setFamilies(PageFontFamilies());
  font.setPixelSize(11);
  return font;
}
