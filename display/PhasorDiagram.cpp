#include "display/PhasorDiagram.h"

#include <QPainter>
#include <cmath>
#include <numbers>

#include "display/PlotDrawing.h"
#include "display/ValueFormat.h"

namespace {

constexpr double kDegree = std::numbers::pi / 180.0;
constexpr int kArrowHead = 12;  // pixels; shorter phasors get no head

// A value rounded to `factor` (10 or 100 per unit) in the general decimal form.
QString Rounded(double value, double factor) {
  return GeneralText(std::nearbyint(value * factor) / static_cast<long double>(factor) + 0.0L);
}

// The scales: ticks on the two axes through the centre and the dotted axes themselves.
void DrawScales(QImage& target, int H, int L, int cx, int cy, QRgb colour) {
  for (int i = 0; i <= 10; ++i) {
    const int y = TruncToInt(L * i / 10.0) + 5;
    if (i == 5) {
      DrawPlotLine(target, QPoint(cx - L / 2 - 5, y), QPoint(cx + L / 2 + 8, y), colour,
                   PlotPen::kDotted);
    } else if (i % 2 == 1) {
      DrawPlotLine(target, QPoint(cx - 2, y), QPoint(cx + 3, y), colour);
    } else {
      DrawPlotLine(target, QPoint(cx - 4, y), QPoint(cx + 4, y), colour);
    }
  }
  for (int j = 0; j <= 10; ++j) {
    const int x = TruncToInt(L * j / 10.0) + cx - L / 2;
    if (j == 5) {
      DrawPlotLine(target, QPoint(cx, 0), QPoint(cx, H), colour, PlotPen::kDotted);
    } else if (j % 2 == 1) {
      DrawPlotLine(target, QPoint(x, cy - 2), QPoint(x, cy + 4), colour);
    } else {
      DrawPlotLine(target, QPoint(x, cy - 4), QPoint(x, cy + 4), colour);
    }
  }
}

// The larger of the three channels' values, 0 if none is positive (NaN never counts).
double LargestPositive(float a, float b, float c) {
  double m = 0;
  for (float v : {a, b, c}) {
    if (v > m) m = v;
  }
  return m;
}

// Draws one phasor of length P x k at `phase` degrees from the centre, with an arrow head
// when it is longer than the head. A phasor without a finite direction or length is not
// drawn: it would otherwise point at the image's corner.
void DrawPhasor(QImage& target, int cx, int cy, double P, double phase, double k, QRgb colour) {
  const double theta = phase * kDegree;
  const double scaled = P * k;
  const int len = RoundHalfEven(scaled);
  const double tipX = std::cos(theta) * len + cx;
  const double tipY = cy - std::sin(theta) * len;
  if (!std::isfinite(tipX) || !std::isfinite(tipY)) return;
  const QPoint tip(RoundHalfEven(tipX), RoundHalfEven(tipY));
  DrawPlotLine(target, QPoint(cx, cy), tip, colour, PlotPen::kSolid, 2);
  if (!(std::fabs(scaled) > kArrowHead)) return;
  for (double side : {20.0, -20.0}) {
    const double a = theta + side * kDegree;
    const QPoint end(RoundHalfEven(tip.x() - std::cos(a) * kArrowHead),
                     RoundHalfEven(std::sin(a) * kArrowHead + tip.y()));
    DrawPlotLine(target, tip, end, colour);
  }
}

}  // namespace

QString PhasorReferenceText() {
  return QString::fromUtf8("0 Deg Ref：Ua");
}

QString PhasorFrequencyText(const ChannelBlock& channel1) {
  return QString::fromUtf8("Ua Frequency：") + Rounded(channel1.Frequency, 100) + " Hz";
}

QString PhasorTriggerText(const ChannelBlock& channel1) {
  return channel1.TriggerMode == 0 ? "TRIG: Zero Crossing" : "TRIG: Fundamental";
}

QString PhasorMagnitudeText(int signal, float peak) {
  static const char* const kLabels[kPhaseSignalCount] = {"Ua：",  "Ub：",  "Uc：",
                                                         "I a：", "I b：", "I c："};
  return QString::fromUtf8(kLabels[signal]) + Rounded(peak, 10) +
         (IsCurrentSignal(signal) ? " A" : " V");
}

QString PhasorAngleText(float phase) {
  return Rounded(phase, 10) + " deg";
}

void DrawPlotCircle(QImage& image, QPoint centre, int radius, QRgb colour) {
  if (radius < 0 || image.depth() != 32 || image.isNull()) return;
  const int cx = centre.x(), cy = centre.y();
  auto put = [&](int x, int y) {
    if (x < 0 || y < 0 || x >= image.width() || y >= image.height()) return;
    reinterpret_cast<QRgb*>(image.scanLine(y))[x] = colour;
  };
  // The midpoint circle: one octant walked, mirrored into the other seven.
  int x = radius, y = 0, error = 1 - radius;
  while (x >= y) {
    for (const QPoint p : {QPoint(x, y), QPoint(y, x), QPoint(-y, x), QPoint(-x, y), QPoint(-x, -y),
                           QPoint(-y, -x), QPoint(y, -x), QPoint(x, -y)}) {
      put(cx + p.x(), cy + p.y());
    }
    ++y;
    if (error < 0) {
      error += 2 * y + 1;
    } else {
      --x;
      error += 2 * (y - x) + 1;
    }
  }
}

void DrawPhasorDiagram(QImage& target, const QRect& plotRect, int H, int W, QColor gridColour,
                       QColor backColour, const MeasurementSet& set, const SignalSelection& shown) {
  FillPlotRect(target, plotRect, backColour.rgb());
  const int L = H - 10;
  const int cx = W / 2;
  const int cy = H / 2;
  const int R = cy - 5;
  const QRgb grid = gridColour.rgb();
  DrawScales(target, H, L, cx, cy, grid);
  DrawPlotCircle(target, QPoint(cx, cy), R, grid);
  DrawPlotCircle(target, QPoint(cx, cy), R - RoundHalfEven(0.2 * R), grid);

  const ChannelBlock* channel = set.Channel;
  {
    QPainter painter(&target);
    painter.setFont(PlotTextFont());
    painter.setPen(gridColour);
    DrawPlotText(painter, QPoint(cx + R + 10, cy - 7), "0");
    DrawPlotText(painter, QPoint(cx - R - 25, cy - 7), "180");
    DrawPlotText(painter, QPoint(W - 125, 5), PhasorReferenceText());
    DrawPlotText(painter, QPoint(W - 125, 22), PhasorFrequencyText(channel[0]));
    DrawPlotText(painter, QPoint(W - 125, 39), PhasorTriggerText(channel[0]));
  }

  const double vMax =
      LargestPositive(channel[0].VoltagePeak, channel[1].VoltagePeak, channel[2].VoltagePeak);
  const double iMax =
      LargestPositive(channel[0].CurrentPeak, channel[1].CurrentPeak, channel[2].CurrentPeak);
  const double kV = vMax > 0 ? R / vMax : 0;
  const double kI = iMax > 0 ? 0.8 * R / iMax : 0;
  for (int s = 0; s < kPhaseSignalCount; ++s) {
    if (!shown[s]) continue;
    const ChannelBlock& block = channel[SignalChannel(s)];
    const bool current = IsCurrentSignal(s);
    const float peak = current ? block.CurrentPeak : block.VoltagePeak;
    const float phase = current ? block.CurrentPhase : block.VoltagePhase;
    DrawPhasor(target, cx, cy, peak, phase, current ? kI : kV, kPhaseSignalColours[s].rgb());
    QPainter painter(&target);
    painter.setFont(PlotTextFont());
    painter.setPen(gridColour);
    DrawPlotText(painter, QPoint(5, 5 + 32 * s), PhasorMagnitudeText(s, peak));
    DrawPlotText(painter, QPoint(31, 20 + 32 * s), PhasorAngleText(phase));
  }
}
