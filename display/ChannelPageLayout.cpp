#include "display/ChannelPageLayout.h"

#include <QFrame>
#include <QGroupBox>
#include <QLabel>

#include "display/ChannelPage.h"
#include "display/PlotBox.h"
#include "display/RollPanel.h"
#include "display/SideStrip.h"

namespace {

// A group box with its bevelled plot panel; the paint box fills the inside of the bevel.
void PlacePlotGroup(QGroupBox* group, QFrame* panel, QWidget* paintBox, const QRect& groupRect,
                    const PageGeometry& g) {
  group->setGeometry(groupRect);
  panel->setGeometry(g.PlotPanel);
  paintBox->setGeometry(g.PlotPaintBox);
}

// Rows stacked from the top without gaps, labels centred on the first row's height.
void PlaceValueBox(ValueBox& box, const QRect& rect, int Wr) {
  box.Box->setGeometry(rect);
  box.Strip->setGeometry(0, 0, 22, rect.height());
  const RowGeometry rows = ComputeRowGeometry(rect.height(), static_cast<int>(box.Rows.size()));
  int rowTop = 0;
  for (ValueRow& row : box.Rows) {
    row.Panel->setGeometry(22, rowTop, Wr, rows.Hr);
    rowTop += rows.Hr;
    for (ValuePair& pair : row.Pairs) {
      pair.Caption->move(ChannelCaptionLeft(Wr, pair.Column), rows.CaptionTop);
      pair.Value->move(ChannelValueLeft(Wr, pair.Column), rows.ValueTop);
    }
  }
}

}  // namespace

void PlaceChannelPage(ChannelPage& page, QSize pageSize) {
  const PageGeometry g = ComputePageGeometry(pageSize);
  PlacePlotGroup(page.SamplingGroupBox, page.SamplingPanel, page.WavePaintBox, g.UpperGroup, g);
  PlacePlotGroup(page.HarmonicGroupBox, page.HarmonicPanel, page.HarmonicPaintBox, g.LowerGroup, g);
  page.SelectionPanel->move(g.HarmonicPanelLeft, page.SelectionPanel->y());
  PlaceValueBox(page.VoltageBox, g.VoltageBox, g.Wr);
  PlaceValueBox(page.CurrentBox, g.CurrentBox, g.Wr);
  PlaceValueBox(page.PowerBox, g.PowerBox, g.Wr);
}
