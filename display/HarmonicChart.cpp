#include "display/HarmonicChart.h"

#include <QPainter>
#include <QString>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstring>

#include "display/PlotDrawing.h"

namespace {

using Spectrum = std::array<float, kHarmonicOrders>;

// The array is copied out of the packed block, which has no alignment of its own.
Spectrum CopySpectrum(const ChannelBlock& block, HarmonicSignal which) {
  const size_t offset = which == HarmonicSignal::kVoltage
                            ? offsetof(ChannelBlock, VoltageHarmonics)
                            : offsetof(ChannelBlock, CurrentHarmonics);
  Spectrum copy;
  std::memcpy(copy.data(), reinterpret_cast<const char*>(&block) + offset, sizeof copy);
  return copy;
}

struct Label {
  QPoint at;
  QString text;
};

}  // namespace

void DrawHarmonicChart(QImage& target, const QRect& plotRect, int H, int W, QColor gridColour,
                       const ChannelBlock& block, QColor backColour, HarmonicSignal which) {
  const QRgb grid = gridColour.rgb();
  const QRgb back = backColour.rgb();
  const QRgb bar =
      (which == HarmonicSignal::kVoltage ? kVoltageBarColour : kCurrentBarColour).rgb();
  FillPlotRect(target, plotRect, back);

  const int B = TruncToInt((H - 4) * 0.9);
  DrawPlotLine(target, QPoint(2, B), QPoint(W - 1, B), grid, PlotPen::kSolid, 2);
  const int Hb = B - 15;
  const int w = W - 12;

  const Spectrum values = CopySpectrum(block, which);
  float m = 0;
  for (float v : values) {
    if (v > m) m = v;
  }

  std::array<Label, 12> labels;
  int labelCount = 0;
  auto tick = [&](int x) {
    DrawPlotLine(target, QPoint(x + 5, B - 1), QPoint(x + 5, B + 3), grid);
  };
  for (int n = 0; n < kHarmonicOrders; ++n) {
    const int x = RoundHalfEven(n * w / 50.0) + 2;
    if (n == 0) {
      labels[labelCount++] = {QPoint(x + 1, B + 6), "0"};
      tick(x);
      for (int k = 0; k <= 9; ++k) {
        const int y = TruncToInt(Hb * k / 10.0) + 15;
        DrawPlotLine(target, QPoint(3, y), QPoint(x + 5, y), grid);
        DrawPlotLine(target, QPoint(x + 5, y), QPoint(W - 1, y), grid, PlotPen::kDotted);
      }
      labels[labelCount++] = {QPoint(1, 1), "100%"};
    } else if (n == 5) {
      labels[labelCount++] = {QPoint(x + 2, B + 6), "5"};
      tick(x);
    } else if (n % 5 == 0) {
      labels[labelCount++] = {QPoint(x - 1, B + 6), QString::number(n)};
      tick(x);
    }
    // Height value x Hb / m, so that the largest order lands exactly on the 100 % line;
    // without a positive order the scale stays 1.
    const double v = values[n];
    const int height = TruncToInt(m != 0 ? v * Hb / m : v);
    DrawPlotRectangle(target, QPoint(x + 5, B - height), QPoint(x + 7, B), bar, back);
  }

  QPainter painter(&target);
  painter.setFont(PlotTextFont());
  painter.setPen(kHarmonicTextColour);
  for (int i = 0; i < labelCount; ++i) DrawPlotText(painter, labels[i].at, labels[i].text);
}
