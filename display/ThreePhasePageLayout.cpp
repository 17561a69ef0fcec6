#include "display/ThreePhasePageLayout.h"

#include <QFrame>
#include <QGroupBox>
#include <QLabel>

#include "display/PageGeometry.h"
#include "display/PageWidgets.h"
#include "display/ThreePhasePage.h"

namespace {

// The row captions keep their left of 8 and take only the caption top.
constexpr int kRowCaptionLeft = 8;

void PlaceValueBox(ThreePhaseBox& box, const QRect& rect, int Wr) {
  box.Box->setGeometry(rect);
  box.Strip->setGeometry(0, 0, 22, rect.height());
  const RowGeometry rows = ComputeRowGeometry(rect.height(), static_cast<int>(box.Rows.size()));
  int rowTop = 0;
  for (ThreePhaseRow& row : box.Rows) {
    row.Panel->setGeometry(22, rowTop, Wr, rows.Hr);
    rowTop += rows.Hr;
    row.Caption->move(kRowCaptionLeft, rows.CaptionTop);
    // The row caption ends 4 pixels before the first pair's caption.
    FitCaption(row.Caption, ThreePhaseCaptionLeft(Wr, 0) - kRowCaptionLeft - 4);
    for (ThreePhasePair& pair : row.Pairs) {
      pair.Caption->move(ThreePhaseCaptionLeft(Wr, pair.Column), rows.CaptionTop);
      pair.Value->move(ThreePhaseValueLeft(Wr, pair.Column), rows.ValueTop);
    }
  }
}

}  // namespace

void PlaceThreePhasePage(ThreePhasePage& page, QSize pageSize) {
  const PageGeometry g = ComputePageGeometry(pageSize);
  page.GroupBox13->setGeometry(g.UpperGroup);
  page.Panel21->setGeometry(g.PlotPanel);
  page.PaintBox7->setGeometry(g.PlotPaintBox);
  page.GroupBox14->setGeometry(g.LowerGroup);
  page.Panel42->setGeometry(g.PlotPanel);
  page.PaintBox8->setGeometry(g.PlotPaintBox);
  // Both selection panels go back to the top of their group box, shown or hidden.
  page.SamplingSelection.Panel->move(g.SamplingPanelLeft, 0);
  page.PhasorSelection.Panel->move(g.PhasorPanelLeft, 0);
  PlaceValueBox(page.ComprehensiveBox, g.ComprehensiveBox, g.Wr);
  PlaceValueBox(page.UnbalanceBox, g.UnbalanceBox, g.Wr);
  PlaceValueBox(page.IntegrationBox, g.IntegrationBox, g.Wr);
}
