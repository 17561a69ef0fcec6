#pragma once
// The report page of one channel: waveforms, the two harmonic charts, the value and power
// panels, the table of the 51 harmonic orders, the header and the information block.

#include "display/MeasurementModel.h"
#include "print/PrintInfo.h"

class QPainter;

// Draws on `painter` a page of W × H device pixels for `block` of `channel` (1 to 3).
void DrawChannelReport(QPainter& painter, int W, int H, const ChannelBlock& block, int channel,
                       const PrintInfo& info);
