#include "display/PlotImages.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <cstring>

QImage ScratchImage;
QImage WaveImage[3];
QImage VoltageHarmonicImage[3];
QImage CurrentHarmonicImage[3];
QImage SamplingImage;
QImage PhasorImage;
QRect PlotRect;
QColor WaveBackground = Qt::black;
QColor ScaleColor = Qt::black;

namespace {

QImage Blank(QSize size) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::black);
  return image;
}

}  // namespace

bool CreatePlotImages(QSize size) {
  if (PlotImagesCreated()) return false;
  size = size.expandedTo(QSize(1, 1));
  ScratchImage = Blank(size);
  for (int c = 0; c < 3; ++c) {
    WaveImage[c] = Blank(size);
    VoltageHarmonicImage[c] = Blank(size);
    CurrentHarmonicImage[c] = Blank(size);
  }
  SamplingImage = Blank(size);
  PhasorImage = Blank(size);
  PlotRect = QRect(QPoint(0, 0), size);
  return true;
}

bool CreatePlotImages() {
  return CreatePlotImages(HalfScreenSize());
}

bool PlotImagesCreated() {
  return !ScratchImage.isNull();
}

QSize HalfScreenSize() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return QSize(640, 480);
  const QSize full = screen->size();
  return QSize(full.width() / 2, full.height() / 2);
}

void CopyPlotRect(const QImage& source, QImage& target) {
  if (source.format() != target.format() || source.depth() != 32 || target.isNull()) return;
  const QRect r = PlotRect.intersected(source.rect()).intersected(target.rect());
  if (r.isEmpty()) return;
  const size_t bytes = static_cast<size_t>(r.width()) * 4;
  for (int y = r.top(); y <= r.bottom(); ++y) {
    std::memcpy(target.scanLine(y) + r.left() * 4, source.constScanLine(y) + r.left() * 4, bytes);
  }
}

void PaintPlotRect(QPainter& painter, const QImage& image) {
  const QRect r = PlotRect.intersected(image.rect());
  if (!r.isEmpty()) painter.drawImage(r.topLeft(), image, r);
}
