#include "display/WaveTrace.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>

#include "display/PlotDrawing.h"

WaveSamples CopyWaveSamples(const ChannelBlock& block, bool current) {
  WaveSamples copy;
  const size_t offset =
      current ? offsetof(ChannelBlock, CurrentWave) : offsetof(ChannelBlock, VoltageWave);
  std::memcpy(copy.data(), reinterpret_cast<const char*>(&block) + offset, sizeof copy);
  return copy;
}

float TraceScale(const WaveSamples& samples, bool current, int H) {
  int m = 0;
  for (int16_t s : samples) m = std::max(m, std::abs(int{s}));
  if (m == 0) return 1.0f;
  const int mid = (H - 4) / 2;
  return current ? static_cast<float>((mid - H / 8.0) / m)
                 : static_cast<float>(static_cast<double>(mid) / m);
}

float TraceStep(const ChannelBlock& block, int W) {
  return block.WaveSampleCount != 0 ? static_cast<float>((W - 4) / 512.0) : 1.0f;
}

void DrawWaveTrace(QImage& target, const WaveSamples& samples, int H, float scale, float step,
                   QRgb colour, int width) {
  const int mid = (H - 4) / 2;
  auto yOf = [&](int16_t sample) {
    const float scaled = static_cast<float>(sample) * scale;
    return mid - RoundHalfEven(scaled) + 2;
  };
  QPoint from(2, yOf(samples[0]));
  float x = 0.0f;
  for (int i = 1; i < kWaveSamples; ++i) {
    x = x + step;
    const QPoint to(RoundHalfEven(x) + 2, yOf(samples[i]));
    DrawPlotLine(target, from, to, colour, PlotPen::kSolid, width);
    from = to;
  }
}
