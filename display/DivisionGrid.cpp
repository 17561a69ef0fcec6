#include "display/DivisionGrid.h"

#include "display/PlotDrawing.h"

void DrawDivisionGrid(QImage& target, int H, int W, QColor gridColour) {
  const int h = H - 4;
  const int w = W - 4;
  const QRgb grid = gridColour.rgb();
  for (int i = 0; i <= 8; ++i) {
    const int y = TruncToInt(h * i / 8.0) + 2;
    DrawPlotLine(target, QPoint(2, y), QPoint(w + 2, y), grid, PlotPen::kDotted);
    const int tickY = TruncToInt(h * i / 8.0 + h / 16.0) + 2;
    DrawPlotLine(target, QPoint(w / 2 - 1, tickY), QPoint(w / 2 + 6, tickY), grid);
  }
  for (int i = 0; i <= 10; ++i) {
    const int x = TruncToInt(w * i / 10.0) + 2;
    DrawPlotLine(target, QPoint(x, 2), QPoint(x, h + 2), grid, PlotPen::kDotted);
    const int tickX = TruncToInt(w * i / 10.0 + w / 20.0) + 2;
    DrawPlotLine(target, QPoint(tickX, h / 2 - 1), QPoint(tickX, h / 2 + 6), grid);
  }
}
