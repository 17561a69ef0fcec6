#include "display/PageGeometry.h"

#include "display/PlotDrawing.h"

PageGeometry ComputePageGeometry(QSize pageSize) {
  PageGeometry g;
  g.Wt = pageSize.width();
  g.Ht = pageSize.height();
  g.Gw = (g.Wt - 12) / 2;
  g.Gh = (g.Ht - 12) / 2;
  g.Xr = g.Gw + 8;
  g.Wr = g.Gw - 26;
  g.UpperGroup = QRect(4, 4, g.Gw, g.Gh);
  g.LowerGroup = QRect(4, g.Gh + 8, g.Gw, g.Gh);
  g.PlotPanel = QRect(4, 16, g.Gw - 8, g.Gh - 20);
  g.PlotPaintBox = QRect(4, 4, g.Gw - 16, g.Gh - 28);
  g.HarmonicPanelLeft = g.Gw - 140;
  g.SamplingPanelLeft = g.Gw - 125;
  g.PhasorPanelLeft = g.Gw - 135;

  const int V = RoundHalfEven((g.Ht - 23) * 5 / 13.0);
  g.VoltageBox = QRect(g.Xr, 9, g.Gw, V);
  g.CurrentBox = QRect(g.Xr, V + 13, g.Gw, V);
  g.PowerBox = QRect(g.Xr, 2 * V + 17, g.Gw, RoundHalfEven((g.Ht - 23) * 3 / 13.0));

  const int C = RoundHalfEven((g.Ht - 24) * 8 / 15.0);
  g.ComprehensiveBox = QRect(g.Xr, 9, g.Gw, C);
  g.UnbalanceBox = QRect(g.Xr, C + 14, g.Gw, RoundHalfEven((g.Ht - 24) * 4 / 15.0));
  g.IntegrationBox =
      QRect(g.Xr, RoundHalfEven((g.Ht - 24) * 0.8) + 19, g.Gw, RoundHalfEven((g.Ht - 24) * 0.2));
  return g;
}

RowGeometry ComputeRowGeometry(int boxHeight, int rows) {
  RowGeometry r;
  r.Hr = rows > 0 ? (boxHeight - 4) / rows : 0;
  r.CaptionTop = r.Hr / 2 - 8;
  r.ValueTop = r.Hr / 2 - 11;
  return r;
}

int ChannelCaptionLeft(int Wr, int column) {
  return column == 0 ? 10 : (Wr / 3) * column;
}

int ChannelValueLeft(int Wr, int column) {
  return column == 0 ? 62 : (Wr / 3) * column + 52;
}

int ThreePhaseCaptionLeft(int Wr, int column) {
  return (Wr / 7) * (2 * column + 1);
}

int ThreePhaseValueLeft(int Wr, int column) {
  return ThreePhaseCaptionLeft(Wr, column) + 35;
}
