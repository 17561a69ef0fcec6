#include "display/PageWidgets.h"

#include <QFrame>
#include <QPalette>
#include <QWidget>

#include "display/PlotDrawing.h"

QFont PageFont(int pixels, bool bold) {
  QFont font;
  font.setFamilies(PageFontFamilies());
  font.setPixelSize(pixels);
  font.setBold(bold);
  return font;
}

void SetColours(QWidget* widget, QColor background, QColor text) {
  QPalette palette = widget->palette();
  if (background.isValid()) {
    palette.setColor(QPalette::Window, background);
    widget->setAutoFillBackground(true);
  }
  if (text.isValid()) palette.setColor(QPalette::WindowText, text);
  widget->setPalette(palette);
}

QFrame* PlotPanel(QWidget* parent, const char* name) {
  auto* panel = new QFrame(parent);
  panel->setObjectName(name);
  panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  panel->setLineWidth(2);
  panel->setMidLineWidth(0);
  return panel;
}
