#pragma once
// The phasor diagram of the three phases: scales, two circles, the reference and trigger
// texts, and an arrow per shown signal, its length scaled so that the largest voltage peak
// reaches the outer circle and the largest current peak 0.8 of its radius.

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>

#include "display/MeasurementModel.h"
#include "display/PhaseSignals.h"

// Fills plotRect of target with backColour and draws the diagram of size W x H (the paint
// box less 2 in each direction). `shown` says which phasors to draw (Ua to Ic in turn).
void DrawPhasorDiagram(QImage& target, const QRect& plotRect, int H, int W, QColor gridColour,
                       QColor backColour, const MeasurementSet& set, const SignalSelection& shown);

// The three texts at the top right: the reference, channel 1's frequency and the trigger.
QString PhasorReferenceText();
QString PhasorFrequencyText(const ChannelBlock& channel1);
QString PhasorTriggerText(const ChannelBlock& channel1);

// The magnitude and angle texts of one signal, as the diagram writes them on its left.
QString PhasorMagnitudeText(int signal, float peak);
QString PhasorAngleText(float phase);

// A one-pixel circle of `radius` around `centre` (the outline of the box from
// centre - radius to centre + radius + 1); only pixels inside the image are written.
void DrawPlotCircle(QImage& image, QPoint centre, int radius, QRgb colour);
