#pragma once
// The harmonic bar chart of one channel: orders 0 to 50 of the voltage or the current as
// two-pixel bars over ten level lines, the largest order reaching the 100 % line.

#include <QColor>
#include <QImage>
#include <QRect>

#include "display/MeasurementModel.h"

enum class HarmonicSignal { kVoltage, kCurrent };

inline const QColor kVoltageBarColour(0, 128, 0);
inline const QColor kCurrentBarColour(255, 0, 0);
inline const QColor kHarmonicTextColour(0, 128, 128);

// Fills plotRect of target with backColour and draws the chart of size W x H (the paint box
// less 2 in each direction) of the chosen array of `block`.
void DrawHarmonicChart(QImage& target, const QRect& plotRect, int H, int W, QColor gridColour,
                       const ChannelBlock& block, QColor backColour, HarmonicSignal which);
