#include "display/PlotBox.h"

#include <QMouseEvent>
#include <QPainter>

#include "display/PlotImages.h"

PlotBox::PlotBox(QWidget* parent) : QWidget(parent) {}

void PlotBox::SetImage(const QImage* image) {
  if (image_ == image) return;
  image_ = image;
  update();
}

void PlotBox::paintEvent(QPaintEvent*) {
  if (!image_) return;
  QPainter painter(this);
  PaintPlotRect(painter, *image_);
}

void PlotBox::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) emit Clicked();
  QWidget::mousePressEvent(event);
}
