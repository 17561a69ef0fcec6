#pragma once
// The coloured strip on the left edge of a value box, carrying the box's title in text
// turned 90 degrees clockwise. It depends on no data and is simply repainted.

#include <QColor>
#include <QString>
#include <QWidget>

class SideStrip : public QWidget {
 public:
  SideStrip(const QString& title, QColor fill, QColor text, QWidget* parent = nullptr);

  const QString& Title() const { return title_; }
  QColor FillColour() const { return fill_; }
  QColor TextColour() const { return text_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString title_;
  QColor fill_, text_;
};

// The strip colours of the three channel pages (channel 1 to 3).
QColor ChannelStripFill(int channel);
QColor ChannelStripText(int channel);
