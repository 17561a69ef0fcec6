#include "display/WaveformPlot.h"

#include <QPainter>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <cstring>

#include "display/DivisionGrid.h"
#include "display/PlotDrawing.h"
#include "display/ValueFormat.h"

namespace {

// Text of a value rounded to two decimals, in general form without an added ".0".
QString TwoDecimals(double value) {
  return GeneralText(std::nearbyint(value * 100) / 100);
}

using Samples = std::array<int16_t, kWaveSamples>;

// The samples are copied out of the packed block, which has no alignment of its own.
Samples CopySamples(const ChannelBlock& block, size_t offset) {
  Samples copy;
  std::memcpy(copy.data(), reinterpret_cast<const char*>(&block) + offset, sizeof copy);
  return copy;
}

int LargestMagnitude(const Samples& samples) {
  int m = 0;
  for (int16_t s : samples) m = std::max(m, std::abs(int{s}));
  return m;
}

// One trace: sample i at x = rnd(i steps) + 2, the steps added up in float32 and each
// scaled sample stored as float32 before it is rounded.
void DrawTrace(QImage& target, const Samples& samples, int mid, float scale, float step,
               QRgb colour) {
  auto yOf = [&](int16_t sample) {
    const float scaled = static_cast<float>(sample) * scale;
    return mid - RoundHalfEven(scaled) + 2;
  };
  QPoint from(2, yOf(samples[0]));
  float x = 0.0f;
  for (int i = 1; i < kWaveSamples; ++i) {
    x = x + step;
    const QPoint to(RoundHalfEven(x) + 2, yOf(samples[i]));
    DrawPlotLine(target, from, to, colour);
    from = to;
  }
}

}  // namespace

QString WaveformLegendText(const ChannelBlock& block) {
  const float frequency = block.Frequency;
  const QString time =
      frequency > 0 ? GeneralText(std::nearbyint(0.4 / frequency * 100000) / 100) : "8";
  const QString volts = block.VoltageTrms > 0 ? TwoDecimals(block.VoltagePeak / 4.0) : "50";
  const QString amps = block.CurrentTrms > 0 ? TwoDecimals(block.CurrentPeak / 3.0) : "1";
  return "SEC/DIV:" + time + "ms   " + "Vol/DIV:" + volts + "V   " + "Amp/DIV:" + amps + "A   " +
         "Trigger Source:" + "Vol";
}

void DrawWaveformPlot(QImage& target, const QRect& plotRect, int H, int W, QColor gridColour,
                      const ChannelBlock& block, QColor backColour, QColor currentColour,
                      QColor voltageColour) {
  FillPlotRect(target, plotRect, backColour.rgb());
  DrawDivisionGrid(target, H, W, gridColour);

  const int h = H - 4;
  const int w = W - 4;
  // Current first, to its peak at mid - H/8 from the centre; voltage over it, to mid.
  const int mid = h / 2;
  float scale = 1.0f;
  float step = 1.0f;
  const Samples current = CopySamples(block, offsetof(ChannelBlock, CurrentWave));
  const Samples voltage = CopySamples(block, offsetof(ChannelBlock, VoltageWave));
  const int currentPeak = LargestMagnitude(current);
  if (currentPeak != 0) scale = static_cast<float>((mid - H / 8.0) / currentPeak);
  if (block.WaveSampleCount != 0) step = static_cast<float>(w / 512.0);
  DrawTrace(target, current, mid, scale, step, currentColour.rgb());

  const int voltagePeak = LargestMagnitude(voltage);
  if (voltagePeak != 0) scale = static_cast<float>(static_cast<double>(mid) / voltagePeak);
  DrawTrace(target, voltage, mid, scale, step, voltageColour.rgb());

  QPainter painter(&target);
  painter.setFont(PlotTextFont());
  painter.setPen(kLegendColour);
  DrawPlotText(painter, QPoint(5, H - 10), WaveformLegendText(block));
}
