#pragma once
// The traces of the waveform and the sampling plot: a signal's samples drawn left to right
// over the plot of size W x H, each trace scaled by its own largest sample.

#include <QImage>
#include <QRgb>
#include <array>
#include <cstdint>

#include "display/MeasurementModel.h"

using WaveSamples = std::array<int16_t, kWaveSamples>;

// The voltage or the current samples of `block`, copied out of the packed block, which has
// no alignment of its own.
WaveSamples CopyWaveSamples(const ChannelBlock& block, bool current);

// The scale that brings the largest sample to the trace's peak: mid for a voltage and
// mid - H/8 for a current, mid = (H - 4) div 2; 1 when every sample is 0.
float TraceScale(const WaveSamples& samples, bool current, int H);

// The x distance between samples: the plot width less 4 over 512, or 1 when the block
// holds no samples.
float TraceStep(const ChannelBlock& block, int W);

// One trace `width` pixels wide: sample i at x = rnd(i steps) + 2 and
// y = mid - rnd(sample * scale) + 2, the steps added up in float32 and each scaled sample
// stored as float32 before it is rounded.
void DrawWaveTrace(QImage& target, const WaveSamples& samples, int H, float scale, float step,
                   QRgb colour, int width);
