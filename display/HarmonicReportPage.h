#pragma once
// The " Harmonic Report " page: a sky-blue page with an 18-pixel teal title strip across its
// top and the harmonic grid filling the rest.

#include <QWidget>

#include "display/HarmonicGrid.h"

inline constexpr int kHarmonicTitleHeight = 18;

// Draws the title strip: teal, with the white text "Harmonic Report " at (3, 2).
void DrawHarmonicTitleStrip(QPainter& painter, int width);

class HarmonicReportPage : public QWidget {
  Q_OBJECT
 public:
  explicit HarmonicReportPage(QWidget* parent = nullptr);

  QWidget* TitleStrip;
  HarmonicGrid* StringGrid2;

 protected:
  void resizeEvent(QResizeEvent* event) override;
};
