#include "app/Pictures.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>
#include <algorithm>
#include <cmath>

namespace {
const QColor kBrandBlue(22, 74, 140);
const QColor kBrandTeal(0, 128, 128);

QPixmap Canvas(int width, int height) {
  QPixmap pixmap(width, height);
  pixmap.fill(Qt::transparent);
  return pixmap;
}
}  // namespace

QPixmap LogoPicture(int width, int height) {
  QPixmap pixmap = Canvas(width, height);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setBrush(kBrandBlue);
  p.setPen(Qt::NoPen);
  p.drawRoundedRect(QRectF(0, 0, width, height), height / 5.0, height / 5.0);
  // A sine stroke through the badge, then the product letters.
  QPainterPath wave;
  const int left = height / 4;
  const int span = height;
  for (int x = 0; x <= span; ++x) {
    const double y = height / 2.0 - (height / 3.0) * std::sin(x * 6.2832 / span);
    x == 0 ? wave.moveTo(left + x, y) : wave.lineTo(left + x, y);
  }
  p.setPen(QPen(QColor(255, 210, 0), std::max(1.0, height / 12.0)));
  p.setBrush(Qt::NoBrush);
  p.drawPath(wave);
  QFont font("DejaVu Sans");
  font.setBold(true);
  // The largest size at which the letters fit beside the wave.
  const int room = width - left - span - 4;
  int size = std::max(6, height * 11 / 20);
  for (; size > 6; --size) {
    font.setPixelSize(size);
    if (QFontMetrics(font).horizontalAdvance("RXM5620") <= room) break;
  }
  font.setPixelSize(size);
  p.setFont(font);
  p.setPen(Qt::white);
  p.drawText(QRect(left + span + 2, 0, width - left - span - 2, height), Qt::AlignCenter,
             "RXM5620");
  return pixmap;
}

QPixmap SplashPicture() {
  QPixmap pixmap(513, 313);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient sky(0, 0, 0, 313);
  sky.setColorAt(0, QColor(240, 246, 252));
  sky.setColorAt(1, QColor(196, 214, 236));
  p.fillRect(pixmap.rect(), sky);
  // Three phase-shifted sine waves across the picture, in the phase colours.
  const QColor phases[3] = {QColor(230, 180, 0), QColor(0, 150, 60), QColor(200, 30, 30)};
  for (int k = 0; k < 3; ++k) {
    QPainterPath path;
    for (int x = 0; x <= 513; x += 3) {
      const double y = 120 - 60 * std::sin(x * 6.2832 / 256 - k * 2.0944);
      x == 0 ? path.moveTo(x, y) : path.lineTo(x, y);
    }
    p.setPen(QPen(phases[k], 3));
    p.drawPath(path);
  }
  p.drawPixmap(16, 16, LogoPicture(181, 49));
  p.fillRect(QRect(0, 212, 513, 101), QColor(255, 255, 255, 170));
  return pixmap;
}

QIcon ToolIcon(ToolPicture picture) {
  QPixmap pixmap = Canvas(32, 32);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(kBrandBlue.darker(130), 1.5));
  switch (picture) {
    case ToolPicture::Open:
      p.setBrush(QColor(240, 200, 90));
      p.drawPolygon(QPolygon({QPoint(3, 9), QPoint(12, 9), QPoint(15, 12), QPoint(29, 12),
                              QPoint(29, 27), QPoint(3, 27)}));
      break;
    case ToolPicture::Save:
      p.setBrush(kBrandBlue);
      p.drawRoundedRect(4, 4, 24, 24, 2, 2);
      p.setBrush(Qt::white);
      p.drawRect(9, 4, 14, 9);
      p.drawRect(8, 18, 16, 10);
      break;
    case ToolPicture::Print:
      p.setBrush(Qt::white);
      p.drawRect(9, 3, 14, 10);
      p.setBrush(QColor(120, 130, 140));
      p.drawRoundedRect(3, 12, 26, 11, 2, 2);
      p.setBrush(Qt::white);
      p.drawRect(9, 19, 14, 10);
      break;
    case ToolPicture::Record:
      p.setBrush(Qt::white);
      p.drawRect(3, 4, 26, 24);
      p.setPen(QPen(kBrandTeal, 2));
      p.drawPolyline(
          QPolygon({QPoint(5, 22), QPoint(11, 14), QPoint(16, 18), QPoint(22, 8), QPoint(27, 12)}));
      break;
    case ToolPicture::Single:
      p.setBrush(QColor(40, 160, 70));
      p.drawPolygon(QPolygon({QPoint(9, 5), QPoint(25, 16), QPoint(9, 27)}));
      break;
    case ToolPicture::Continuous:
      p.setBrush(QColor(40, 160, 70));
      p.drawPolygon(QPolygon({QPoint(3, 5), QPoint(16, 16), QPoint(3, 27)}));
      p.drawPolygon(QPolygon({QPoint(16, 5), QPoint(29, 16), QPoint(16, 27)}));
      break;
    case ToolPicture::Stop:
      p.setBrush(QColor(200, 40, 40));
      p.drawRoundedRect(6, 6, 20, 20, 2, 2);
      break;
  }
  return QIcon(pixmap);
}
