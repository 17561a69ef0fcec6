#include "display/SamplingPlot.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdlib>
#include <cstring>

#include "display/DivisionGrid.h"
#include "display/PlotDrawing.h"

namespace {

using Samples = std::array<int16_t, kWaveSamples>;

// A signal's samples, copied out of the packed block.
Samples CopySamples(const ChannelBlock& block, bool current) {
  Samples copy;
  const size_t offset =
      current ? offsetof(ChannelBlock, CurrentWave) : offsetof(ChannelBlock, VoltageWave);
  std::memcpy(copy.data(), reinterpret_cast<const char*>(&block) + offset, sizeof copy);
  return copy;
}

int LargestMagnitude(const Samples& samples) {
  int m = 0;
  for (int16_t s : samples) m = std::max(m, std::abs(int{s}));
  return m;
}

// One trace, two pixels wide: sample i at x = rnd(i steps) + 2, the steps added up in float32
// and each scaled sample stored as float32 before it is rounded.
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
    DrawPlotLine(target, from, to, colour, PlotPen::kSolid, 2);
    from = to;
  }
}

}  // namespace

void DrawSamplingPlot(QImage& target, const QRect& plotRect, int H, int W, QColor gridColour,
                      QColor backColour, const MeasurementSet& set, const SignalSelection& shown) {
  FillPlotRect(target, plotRect, backColour.rgb());
  DrawDivisionGrid(target, H, W, gridColour);
  const int mid = (H - 4) / 2;
  const int w = W - 4;
  // Currents before the voltages of the same channel, channel by channel.
  constexpr PhaseSignal kOrder[kPhaseSignalCount] = {kIa, kUa, kIb, kUb, kIc, kUc};
  for (PhaseSignal signal : kOrder) {
    if (!shown[signal]) continue;
    const ChannelBlock& block = set.Channel[SignalChannel(signal)];
    const bool current = IsCurrentSignal(signal);
    const Samples samples = CopySamples(block, current);
    float scale = 1.0f;
    float step = 1.0f;
    const int m = LargestMagnitude(samples);
    if (m != 0) {
      scale = current ? static_cast<float>((mid - H / 8.0) / m)
                      : static_cast<float>(static_cast<double>(mid) / m);
    }
    if (block.WaveSampleCount != 0) step = static_cast<float>(w / 512.0);
    DrawTrace(target, samples, mid, scale, step, kPhaseSignalColours[signal].rgb());
  }
}
