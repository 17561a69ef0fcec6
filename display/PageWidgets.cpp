#include "display/PageWidgets.h"

#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QPalette>
#include <QWidget>
#include <algorithm>

#include "display/PlotDrawing.h"

QFont PageFont(int pixels, bool bold) {
  QFont font;
  font.setFamilies(PageFontFamilies());
  font.setPixelSize(pixels);
  font.setBold(bold);
  return font;
}

namespace {

// The page colours are a style sheet of the widget's own: an application style sheet (the
// skin) overrides palettes, but never a widget's own sheet. The rule is tied to the widget
// by a property, so that it does not spread to its children; text-bearing children
// without colours of their own show the background through, in the widget's text colour.
void ApplyPageSheet(QWidget* widget) {
  const QColor background = widget->property("pageBackground").value<QColor>();
  const QColor text = widget->property("pageText").value<QColor>();
  const QColor disabled = widget->property("pageDisabledText").value<QColor>();
  QString own = "background-color: " + (background.isValid() ? background.name() : "transparent");
  if (text.isValid()) own += "; color: " + text.name();
  QString sheet = "[pageColours=\"true\"] { " + own + " }";
  if (disabled.isValid())
    sheet += " [pageColours=\"true\"]:disabled { color: " + disabled.name() + " }";
  if (background.isValid()) {
    sheet += " QLabel, QRadioButton, QCheckBox { background-color: transparent; color: " +
             (text.isValid() ? text : QColor(Qt::black)).name() + " }";
  }
  widget->setProperty("pageColours", true);
  widget->setStyleSheet(sheet);
}

}  // namespace

void SetColours(QWidget* widget, QColor background, QColor text) {
  QPalette palette = widget->palette();
  if (background.isValid()) {
    palette.setColor(QPalette::Window, background);
    widget->setAutoFillBackground(true);
    widget->setProperty("pageBackground", background);
  }
  if (text.isValid()) {
    palette.setColor(QPalette::WindowText, text);
    widget->setProperty("pageText", text);
  }
  widget->setPalette(palette);
  ApplyPageSheet(widget);
}

void SetDisabledTextColour(QWidget* widget, QColor text) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Disabled, QPalette::WindowText, text);
  widget->setPalette(palette);
  widget->setProperty("pageDisabledText", text);
  ApplyPageSheet(widget);
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

QLabel* CaptionLabel(const QString& text, QWidget* parent, const QFont& font, int room) {
  auto* label = new QLabel(text, parent);
  label->setFont(font);
  SetColours(label, QColor(), kCaptionGrey);
  label->setProperty("fullText", text);
  if (room > 0) FitLabelText(label, text, room);
  label->adjustSize();
  return label;
}

void FitCaption(QLabel* caption, int room) {
  FitLabelText(caption, caption->property("fullText").toString(), room);
  caption->adjustSize();
}

void FitLabelText(QLabel* label, const QString& text, int room) {
  QFont font = label->font();
  font.setStretch(QFont::Unstretched);
  int width = QFontMetrics(font).horizontalAdvance(text);
  if (width > room) {
    font.setStretch(std::max(kNarrowestStretch, room * 100 / width));
    width = QFontMetrics(font).horizontalAdvance(text);
  }
  QString shown = text;
  label->setToolTip(QString());
  if (width > room) {
    shown = QFontMetrics(font).elidedText(text, Qt::ElideRight, room);
    label->setToolTip(text);
  }
  label->setFont(font);
  label->setText(shown);
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
