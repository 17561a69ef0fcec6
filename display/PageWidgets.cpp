#include "display/PageWidgets.h"

#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
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

QFrame* ValueBoxFrame(QWidget* page, const char* name) {
  auto* box = new QFrame(page);
  box->setObjectName(name);
  SetColours(box, kSkyBlue);
  return box;
}

QFrame* ValueRowPanel(QWidget* box, const char* name, int row, const QPalette& colours) {
  auto* panel = new QFrame(box);
  panel->setObjectName(name);
  SetColours(panel, colours.color(row % 2 == 0 ? QPalette::Midlight : QPalette::Base));
  return panel;
}

QLabel* CaptionLabel(const QString& text, QWidget* parent, const QFont& font) {
  auto* label = new QLabel(text, parent);
  label->setFont(font);
  SetColours(label, QColor(), kCaptionGrey);
  label->adjustSize();
  return label;
}

QSize ValueLabelSize(const QFont& font) {
  const QFontMetrics metrics(font);
  return QSize(metrics.horizontalAdvance("-8888.88 K VAR"), metrics.height());
}

QLabel* ValueLabel(QWidget* parent, const char* name, const QFont& font, QSize size) {
  auto* label = new QLabel(parent);
  label->setObjectName(name);
  label->setFont(font);
  SetColours(label, QColor(), kValueBlue);
  label->resize(size);
  return label;
}
