#include "display/SideStrip.h"

#include <QPainter>

#include "display/PlotDrawing.h"

SideStrip::SideStrip(const QString& title, QColor fill, QColor text, QWidget* parent)
    : QWidget(parent), title_(title), fill_(fill), text_(text) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  QFont font;
  font.setFamilies(PageFontFamilies());
  font.setPointSize(12);
  setFont(font);
  resize(22, 100);
}

void SideStrip::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), fill_);
  // The text runs downwards from (22, 10); the tops of the letters face right.
  painter.translate(22, 10);
  painter.rotate(90);
  painter.setPen(text_);
  painter.setFont(font());
  DrawPlotText(painter, QPoint(0, 0), title_);
}

QColor ChannelStripFill(int channel) {
  switch (channel) {
    case 1:
      return QColor(255, 255, 0);
    case 2:
      return QColor(0, 128, 0);
    default:
      return QColor(255, 0, 0);
  }
}

QColor ChannelStripText(int channel) {
  return channel == 1 ? QColor(128, 128, 128) : QColor(255, 255, 255);
}
