#pragma once
// The page geometry of the main window's channel and three-phase pages, as pure functions
// of the page size: plot group boxes on the left, value boxes on the right, rows stacked
// inside the boxes and the label columns in the rows. The Place* routines apply it to the
// widgets; tests and the minimum page size reason about it without any widget.

#include <QRect>
#include <QSize>

// The page area of the main window at its default size.
inline constexpr QSize kDefaultPageSize(978, 605);

// Where everything goes for a page area of Wt x Ht; positions are relative to the parent.
struct PageGeometry {
  int Wt = 0, Ht = 0;
  int Gw = 0, Gh = 0;            // every plot group box
  int Xr = 0;                    // left edge of the right-hand column, Gw wide
  int Wr = 0;                    // width of every value row
  QRect UpperGroup, LowerGroup;  // on the page
  QRect PlotPanel;               // in its group box
  QRect PlotPaintBox;            // in its plot panel, inside the 4-pixel bevel
  int HarmonicPanelLeft = 0;     // selection panels of the channel pages, in the group box
  int SamplingPanelLeft = 0;     // SeSkinPanel1, in GroupBox13
  int PhasorPanelLeft = 0;       // SeSkinPanel2, in GroupBox14
  QRect VoltageBox, CurrentBox, PowerBox;                // channel pages
  QRect ComprehensiveBox, UnbalanceBox, IntegrationBox;  // three-phase page
};

PageGeometry ComputePageGeometry(QSize pageSize);

// Rows of a value box of `boxHeight` with `rows` rows: their common height and the tops of
// the caption and value labels inside a row.
struct RowGeometry {
  int Hr = 0;
  int CaptionTop = 0;
  int ValueTop = 0;
};
RowGeometry ComputeRowGeometry(int boxHeight, int rows);

// Column k (0 to 2) of a channel page: caption and value lefts in a row of width Wr.
int ChannelCaptionLeft(int Wr, int column);
int ChannelValueLeft(int Wr, int column);

// Column k (0 to 2) of the three-phase page: caption and value lefts in a row of width Wr.
int ThreePhaseCaptionLeft(int Wr, int column);
int ThreePhaseValueLeft(int Wr, int column);

// The smallest page area the main window allows. Height: every value row of every box is
// at least 22 pixels high, so that the 17-pixel value labels (top Hr div 2 - 11) lie inside
// their rows, and the six magnitude and angle texts of the phasor diagram stay inside the
// plot. Width: on both page kinds a value label has 88 pixels before the next column's
// caption, room for "2500.0 K W" in the 16-pixel bold value font. Every computed width and
// height is positive from this size up. Give each tab page this minimum size, and the
// window's layout keeps the window from shrinking below it.
inline constexpr QSize kMinimumPageSize(932, 458);
