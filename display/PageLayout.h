#pragma once
// The layout of the main window's five pages, computed from the page size rather than
// anchored (see PageGeometry.h for the numbers). The main window runs LayOutPages at
// creation and on every resize, then refreshes every page.

#include <QSize>

#include "display/PageGeometry.h"

class ChannelPage;
class HarmonicReportPage;
class ThreePhasePage;

// The five pages of the main window.
struct MainPages {
  ChannelPage* Channel[3] = {nullptr, nullptr, nullptr};
  ThreePhasePage* ThreePhase = nullptr;
  HarmonicReportPage* Harmonic = nullptr;
};

// Places every group box, plot panel, paint box, selection panel, value box, row and label
// of the five pages, and the grid's column widths, for a page area of `pageSize`. Missing
// pages are skipped. Allocates no image; the refreshes that follow redraw at the new size.
void LayOutPages(const MainPages& pages, QSize pageSize);
