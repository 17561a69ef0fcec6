#pragma once
// Places the controls of a channel page in proportion to the page size: the two plot group
// boxes on the left, the three value boxes on the right, their rows and the labels in the
// rows. The main window runs it for the three pages on every resize, before the refreshes.

#include <QSize>

#include "display/PageGeometry.h"

class ChannelPage;

void PlaceChannelPage(ChannelPage& page, QSize pageSize);
