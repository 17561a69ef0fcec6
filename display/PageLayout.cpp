#include "display/PageLayout.h"

#include "display/ChannelPage.h"
#include "display/ChannelPageLayout.h"
#include "display/HarmonicReportPage.h"
#include "display/ThreePhasePage.h"
#include "display/ThreePhasePageLayout.h"

void LayOutPages(const MainPages& pages, QSize pageSize) {
  for (ChannelPage* page : pages.Channel) {
    if (page) PlaceChannelPage(*page, pageSize);
  }
  if (pages.ThreePhase) PlaceThreePhasePage(*pages.ThreePhase, pageSize);
  // The grid spans the page's width (the page fills its tab), whether or not the page has
  // received its own resize yet.
  if (pages.Harmonic) SetHarmonicGridColumnWidths(*pages.Harmonic->StringGrid2, pageSize.width());
}
