#pragma once
// Places the controls of the three-phase page in proportion to the page size: the sampling
// and phasor group boxes on the left with their selection panels back at the top, the
// three value boxes on the right, their rows and the labels in the rows.

#include <QSize>

class ThreePhasePage;

void PlaceThreePhasePage(ThreePhasePage& page, QSize pageSize);
