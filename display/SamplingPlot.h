#pragma once
// The three-phase sampling plot: up to six traces over the dotted 10 x 8 grid of the
// waveform plot, each scaled by its own largest sample, without legend.

#include <QColor>
#include <QImage>
#include <QRect>

#include "display/MeasurementModel.h"
#include "display/PhaseSignals.h"

// Fills plotRect of target with backColour and draws the plot of size W x H (the paint box
// less 2 in each direction). `shown` says which traces to draw; they are drawn in the order
// Ia, Ua, Ib, Ub, Ic, Uc, two pixels wide.
void DrawSamplingPlot(QImage& target, const QRect& plotRect, int H, int W, QColor gridColour,
                      QColor backColour, const MeasurementSet& set, const SignalSelection& shown);
