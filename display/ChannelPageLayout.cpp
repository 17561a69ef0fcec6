#include "display/ChannelPageLayout.h"

#include <QFrame>
#include <QGroupBox>
#include <QLabel>

#include "display/ChannelPage.h"
#include "display/PlotBox.h"
#include "display/PlotDrawing.h"
#include "display/RollPanel.h"
#include "display/SideStrip.h"

namespace {

// A group box with its bevelled plot panel; the paint box fills the inside of the bevel.
void PlacePlotGroup(QGroupBox* group, QFrame* panel, QWidget* paintBox, int top, int Gw, int Gh) {
  group->setGeometry(4, top, Gw, Gh);
  panel->setGeometry(4, 16, Gw - 8, Gh - 20);
  paintBox->setGeometry(4, 4, Gw - 16, Gh - 28);
}

// Rows stacked from the top without gaps, labels centred on the first row's height.
void PlaceValueBox(ValueBox& box, int left, int top, int width, int height, int Wr) {
  box.Box->setGeometry(left, top, width, height);
  box.Strip->setGeometry(0, 0, 22, height);
  const int n = static_cast<int>(box.Rows.size());
  const int Hr = (height - 4) / n;
  const int captionTop = Hr / 2 - 8;
  const int valueTop = Hr / 2 - 11;
  const int captionLeft[3] = {10, Wr / 3, (Wr / 3) * 2};
  const int valueLeft[3] = {62, Wr / 3 + 52, (Wr / 3) * 2 + 52};
  int rowTop = 0;
  for (ValueRow& row : box.Rows) {
    row.Panel->setGeometry(22, rowTop, Wr, Hr);
    rowTop += Hr;
    for (ValuePair& pair : row.Pairs) {
      pair.Caption->move(captionLeft[pair.Column], captionTop);
      pair.Value->move(valueLeft[pair.Column], valueTop);
    }
  }
}

}  // namespace

void PlaceChannelPage(ChannelPage& page, QSize pageSize) {
  const int Wt = pageSize.width();
  const int Ht = pageSize.height();
  const int Gw = (Wt - 12) / 2;
  const int Gh = (Ht - 12) / 2;
  const int Xr = Gw + 8;
  const int Wr = Gw - 26;

  PlacePlotGroup(page.SamplingGroupBox, page.SamplingPanel, page.WavePaintBox, 4, Gw, Gh);
  PlacePlotGroup(page.HarmonicGroupBox, page.HarmonicPanel, page.HarmonicPaintBox, Gh + 8, Gw, Gh);
  page.SelectionPanel->move(page.HarmonicGroupBox->width() - 140, page.SelectionPanel->y());

  const int V = RoundHalfEven((Ht - 23) * 5 / 13.0);
  PlaceValueBox(page.VoltageBox, Xr, 9, Gw, V, Wr);
  PlaceValueBox(page.CurrentBox, Xr, V + 13, Gw, V, Wr);
  PlaceValueBox(page.PowerBox, Xr, 2 * V + 17, Gw, RoundHalfEven((Ht - 23) * 3 / 13.0), Wr);
}
