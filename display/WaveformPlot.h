#pragma once
// The waveform plot of one channel: voltage and current samples over a dotted 10 x 8 grid,
// each trace scaled by its own largest sample, with a legend of the values per division.

#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>

#include "display/MeasurementModel.h"

// Fixed colours of the plot.
inline const QColor kCurrentTraceColour(255, 0, 0);
inline const QColor kVoltageTraceColour(0, 128, 0);
inline const QColor kLegendColour(0, 16, 240);

// Fills plotRect of target with backColour and draws the plot of size W x H (the paint box
// less 2 in each direction) from `block`.
void DrawWaveformPlot(QImage& target, const QRect& plotRect, int H, int W, QColor gridColour,
                      const ChannelBlock& block, QColor backColour, QColor currentColour,
                      QColor voltageColour);

// The legend line: time, voltage and current per division and the trigger source.
QString WaveformLegendText(const ChannelBlock& block);
