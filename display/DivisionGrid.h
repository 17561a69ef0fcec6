#pragma once
// The dotted 10 x 8 division grid that the waveform and the sampling plot draw under their
// traces.

#include <QColor>
#include <QImage>

// Dotted division lines with solid ticks at the half divisions on the two centre lines, for
// a plot of size W x H whose drawing area starts 2 pixels in.
void DrawDivisionGrid(QImage& target, int H, int W, QColor gridColour);
