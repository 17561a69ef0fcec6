#include "print/ChannelReport.h"

#include <QPainter>
#include <algorithm>

#include "display/PageValueTable.h"
#include "display/ValueFormat.h"
#include "print/ReportFrame.h"

namespace {

using Box = ReportBox;

// One trace of 512 samples across the box, scaled so that its largest sample reaches
// Trunc(h × a / 7) pixels from the centre line.
void DrawTrace(QPainter& painter, const Box& b, const int16_t (&samples)[512], float a,
               bool spread) {
  const int M = LargestSample(samples);
  const float S = M != 0 ? static_cast<float>(Trunc(b.h() * a / 7)) / static_cast<float>(M) : 0;
  const float dx = spread ? static_cast<float>(b.w()) / 512.0f : 0.0f;
  DrawReportTrace(painter, b.x1, b.y1 + b.h() / 2, samples, S, dx);
}

void DrawHarmonicBars(QPainter& painter, const PageFrame& page, const Box& b,
                      const float (&values)[51], const QColor& colour) {
  const int yb = b.y1 + Trunc(b.h() * 0.85);
  SetReportPen(painter, report::kGray, Trunc((page.B - page.T) * 0.0015));
  painter.drawLine(b.x1, yb, b.x2, yb);
  float Mx = 0;
  for (float e : values) Mx = std::max(Mx, e);
  const float S = Mx != 0 ? static_cast<float>(Trunc(b.h() * 0.8)) / Mx : 0;
  SetReportFont(painter, "Verdana", 6);
  const int barPen = Trunc((page.R - page.L) * 0.0025);
  const int p = Trunc(b.w() / 53.0);
  const int q = Trunc(b.w() * 0.013);
  const int yl = yb + 3 + Trunc(b.h() * 0.03);
  for (int n = 0; n <= 50; ++n) {
    const int xn = b.x1 + p / 2 + n * p;
    SetReportPen(painter, report::kBlack, barPen);
    if (n == 0 || n == 1 || n % 5 == 0) DrawReportText(painter, xn, yl, QString::number(n));
    SetReportPen(painter, colour, barPen);
    const int top = yb + 1 - Trunc(S * values[n]);
    const int bottom = yb - 1;
    painter.drawRect(
        QRect(QPoint(xn + q, std::min(top, bottom)), QPoint(xn + q + 7, std::max(top, bottom))));
  }
  SetReportPen(painter, report::kBlack, 1);
}

struct PanelRow {
  const char* label;
  size_t voltage, current;  // offsets in the ChannelBlock; kNone for no value
  const char *voltageUnit, *currentUnit;
};
constexpr size_t kNone = ~size_t{0};
#define F(field) offsetof(ChannelBlock, field)
const PanelRow kPanelRows[15] = {
    {"True RMS", F(VoltageTrms), F(CurrentTrms), " V", " A"},
    {"Peak", F(VoltagePeak), F(CurrentPeak), " V", " A"},
    {"Peak to peak", F(VoltagePeakToPeak), F(CurrentPeakToPeak), " V", " A"},
    {"Frequency", F(Frequency), kNone, " Hz", ""},
    {"Phase", F(VoltagePhase), F(CurrentPhase), " deg", " deg"},
    {"Crest factor", F(VoltageCrestFactor), F(CurrentCrestFactor), " ", " "},
    {"Form factor", F(VoltageFormFactor), F(CurrentFormFactor), " ", " "},
    {"Mean", F(VoltageMean), F(CurrentMean), " V", " A"},
    {"RMean", F(VoltageRectifiedMean), F(CurrentRectifiedMean), " V", " A"},
    {"THD-F", F(VoltageThdF), F(CurrentThdF), " %", " %"},
    {"THD-R", F(VoltageThdR), F(CurrentThdR), " %", " %"},
    {"TIF", F(VoltageTif), F(CurrentTif), " ", " "},
    {"THF", F(VoltageThf), F(CurrentThf), " %", " %"},
    {"FFCR", F(VoltageFfcr), F(CurrentFfcr), " %", " %"},
    {"K-Factor", F(VoltageKFactor), F(CurrentKFactor), " ", " "},
};

struct PowerRow {
  const char* label;
  size_t offset;
  bool counter;
  const char* unit;
};
const PowerRow kPowerRows[8] = {
    {"Power", F(ActivePower), false, " W"},    {"S", F(ApparentPower), false, " VA"},
    {"Q", F(ReactivePower), false, " VAR"},    {"PF", F(PowerFactor), false, " "},
    {"Peak Power", F(PeakPower), false, " W"}, {"WP", F(EnergyKwh), true, " KWH"},
    {"WP+", F(EnergyPositive), true, " KWH"},  {"WP-", F(EnergyNegative), true, " KWH"},
};
#undef F

void DrawValuePanel(QPainter& painter, const PageFrame& page, const ChannelBlock& block) {
  const int W = page.W, H = page.H;
  const Box b{Trunc(W * 0.615), Trunc(H * 0.072), page.R, Trunc(H * 0.072) + Trunc(H * 0.3)};
  SetReportPen(painter, report::kBlack, 1);
  DrawReportBox(painter, b);
  for (int k = 1; k <= 15; ++k) {
    const int y = b.y1 + Trunc(b.h() * k / 16.0);
    painter.drawLine(b.x1, y, b.x2, y);
  }
  for (int k = 1; k <= 2; ++k) {
    const int x = b.x1 + Trunc(b.w() * k / 3.0);
    painter.drawLine(x, b.y1, x, b.y2);
  }
  SetReportFont(painter, "Verdana", 8);
  const int head = Trunc(H * 0.075);
  DrawReportText(painter, b.x1 + Trunc(b.w() * 1.38 / 3), head, "Voltage");
  DrawReportText(painter, b.x1 + Trunc(b.w() * 2.38 / 3), head, "Current");
  const int xa = b.x1 + Trunc(b.w() * 0.1 / 3);
  const int column = Trunc(b.w() / 3.0);
  for (int k = 1; k <= 15; ++k) {
    const PanelRow& row = kPanelRows[k - 1];
    const int y = head + k * Trunc(b.h() / 16.0);
    DrawReportText(painter, xa, y, row.label);
    DrawMeasuredValue(painter, xa + column, y,
                      static_cast<float>(BlockNumber(&block, row.voltage, false)), row.voltageUnit,
                      6, 100, 100);
    if (row.current == kNone) continue;
    // Phases keep one decimal as on the voltage side; the other currents three.
    const float scale = row.current == offsetof(ChannelBlock, CurrentPhase) ? 100 : 1000;
    DrawMeasuredValue(painter, xa + 2 * column, y,
                      static_cast<float>(BlockNumber(&block, row.current, false)), row.currentUnit,
                      6, scale, scale);
  }
}

void DrawPowerPanel(QPainter& painter, const PageFrame& page, const ChannelBlock& block) {
  const int W = page.W, H = page.H;
  const Box b{Trunc(W * 0.615), Trunc(H * 0.38), page.R, Trunc(H * 0.38) + Trunc(H * 0.157)};
  SetReportPen(painter, report::kBlack, 1);
  DrawReportBox(painter, b);
  for (int k = 1; k <= 7; ++k) {
    const int y = b.y1 + Trunc(b.h() * k / 8.0);
    painter.drawLine(b.x1, y, b.x2, y);
  }
  const int divider = b.x1 + Trunc(b.w() / 3.0);
  painter.drawLine(divider, b.y1, divider, b.y2);
  SetReportFont(painter, "Verdana", 8);
  const int xa = b.x1 + Trunc(b.w() * 0.1 / 3);
  for (int k = 0; k <= 7; ++k) {
    const PowerRow& row = kPowerRows[k];
    const int y = Trunc(H * 0.384) + k * Trunc(b.h() / 8.0);
    DrawReportText(painter, xa, y, row.label);
    if (row.counter) {
      DrawCounterValue(painter, xa + Trunc(b.w() / 3.0), y, BlockNumber(&block, row.offset, true),
                       row.unit, 1000, 1000);
    } else {
      DrawMeasuredValue(painter, xa + Trunc(b.w() / 3.0), y,
                        static_cast<float>(BlockNumber(&block, row.offset, false)), row.unit, 6,
                        100, 100);
    }
  }
}

// The rms text of a harmonic: two decimals, ".00" for a whole number.
QString RmsText(float e) {
  QString text = GeneralText(static_cast<long double>(Round(e / 1.414 * 100)) / 100);
  if (!text.contains('.')) text += ".00";
  return text;
}

void DrawHarmonicTable(QPainter& painter, const PageFrame& page, const ChannelBlock& block) {
  const int W = page.W, H = page.H;
  SetReportFont(painter, "Verdana", 8);
  const Box b{page.L, Trunc(H * 0.565), W - page.L, Trunc(H * 0.905)};
  const int thick = Trunc((page.B - page.T) * 0.0012);
  SetReportPen(painter, report::kBlack, thick);
  const int title = Trunc(H * 0.555);
  painter.drawLine(b.x1, title, b.x2, title);
  DrawReportText(painter, Trunc(b.x2 * 0.08), Trunc(H * 0.548), " Harmonic Table ");
  DrawReportBox(painter, b);

  const int c = Round(b.w() / 15.0);
  const int r = Round(b.h() / 19.0);
  SetReportPen(painter, report::kGray, 1);
  for (int k = 1; k <= 18; ++k) painter.drawLine(b.x1, b.y1 + k * r, b.x2, b.y1 + k * r);
  for (int k = 1; k <= 14; ++k) {
    const bool full =
        k == 1 || k == 3 || k == 5 || k == 6 || k == 8 || k == 10 || k == 11 || k == 13;
    SetReportPen(painter, report::kGray, k == 5 || k == 10 ? thick : 1);
    painter.drawLine(b.x1 + k * c, full ? b.y1 : b.y1 + r, b.x1 + k * c, b.y2);
  }
  SetReportPen(painter, report::kBlack, 1);

  const int dy = Trunc(r * 0.08);
  for (int k : {1, 6, 11})
    DrawReportText(painter, b.x1 + k * c + Trunc(2 * c * 0.2), b.y1 + dy, "Voltage");
  for (int k : {3, 8, 13})
    DrawReportText(painter, b.x1 + k * c + Trunc(2 * c * 0.2), b.y1 + dy, "Current");
  for (int k : {0, 5, 10})
    DrawReportText(painter, b.x1 + k * c + Trunc(c * 0.3), b.y1 + r + dy, "n");
  for (int k : {1, 3, 6, 8, 11, 13})
    DrawReportText(painter, b.x1 + k * c + Trunc(c * 0.2), b.y1 + r + dy, "rms");
  for (int k : {2, 4, 7, 9, 12, 14})
    DrawReportText(painter, b.x1 + k * c + Trunc(c * 0.25), b.y1 + r + dy, "%");

  const float(*arrays[2])[51] = {&block.VoltageHarmonics, &block.CurrentHarmonics};
  for (int j = 0; j <= 16; ++j) {
    const int y = b.y1 + (j + 2) * r + dy;
    // Without a fundamental there is no percentage: the cell repeats the row's last rms
    // text of that quantity, as a percentage of nothing cannot be computed.
    QString lastRms[2];
    for (int g = 0; g < 3; ++g) {
      const int n = j + 17 * g;
      lastRms[0] = RmsText((*arrays[0])[n]);
      lastRms[1] = RmsText((*arrays[1])[n]);
    }
    for (int g = 0; g < 3; ++g) {
      const int n = j + 17 * g;
      DrawReportText(painter, b.x1 + 5 * g * c + Trunc(c * 0.3), y, QString::number(n));
      for (int q = 0; q < 2; ++q) {
        const float(&e)[51] = *arrays[q];
        const int rmsColumn = 5 * g + 1 + 2 * q;
        DrawReportText(painter, b.x1 + rmsColumn * c + Trunc(c * 0.1), y, RmsText(e[n]));
        QString percent;
        if (e[1] != 0) {
          percent = GeneralText(static_cast<long double>(Round(e[n] / e[1] * 1000.0)) / 10);
          if (!percent.contains('.')) percent += ".0";
        } else {
          percent = lastRms[q];
        }
        DrawReportText(painter, b.x1 + (rmsColumn + 1) * c + Trunc(c * 0.1), y, percent + "%");
      }
    }
  }
}

}  // namespace

void DrawChannelReport(QPainter& painter, int W, int H, const ChannelBlock& printed, int channel,
                       const PrintInfo& info) {
  const ChannelBlock block = printed;  // the page's own copy
  const PageFrame page = MakePageFrame(W, H);
  painter.save();
  painter.setBrush(report::kWhite);
  painter.setBackground(report::kWhite);
  painter.setBackgroundMode(Qt::OpaqueMode);
  painter.setRenderHint(QPainter::Antialiasing, false);

  DrawReportHeader(painter, page, QString("Channel %1 /Page %1").arg(channel), 0.8);

  // Waveforms.
  const int left = page.L, right = page.L + Trunc(W * 0.55);
  const Box wave{left, Trunc(H * 0.072), right, Trunc(H * 0.072) + Trunc(H * 0.15)};
  SetReportPen(painter, report::kBlack, 1);
  DrawReportBox(painter, wave);
  SetReportFont(painter, "Verdana", 8);
  DrawReportText(painter, Trunc(W * 0.072), Trunc(H * 0.065), " Sampling ");
  auto grid = [&](const QColor& colour) {
    SetReportPen(painter, colour, 1, Qt::DashDotLine);
    for (double f : {1.0 / 7, 0.5, 6.0 / 7}) {
      const int y = wave.y1 + Trunc(wave.h() * f);
      painter.drawLine(wave.x1, y, wave.x2, y);
    }
  };
  grid(report::kBlack);
  const bool spread = block.WaveSampleCount != 0;
  SetReportPen(painter, report::kRed, Trunc((page.B - page.T) * 0.0008));
  DrawTrace(painter, wave, block.CurrentWave, 2.5f, spread);
  grid(report::kRed);  // the pen stays red
  SetReportPen(painter, report::kGreen, Trunc((page.B - page.T) * 0.001));
  DrawTrace(painter, wave, block.VoltageWave, 2.8f, spread);
  SetReportPen(painter, report::kBlack, 1);

  // Harmonic charts.
  const Box voltage{left, Trunc(H * 0.23), right, Trunc(H * 0.23) + Trunc(H * 0.15)};
  DrawReportBox(painter, voltage);
  SetReportFont(painter, "Verdana", 8);
  DrawReportText(painter, Trunc(W * 0.072), Trunc(H * 0.223), " Voltage Harmonic ");
  DrawHarmonicBars(painter, page, voltage, block.VoltageHarmonics, report::kGreen);
  const Box current{left, Trunc(H * 0.388), right, Trunc(H * 0.388) + Trunc(H * 0.15)};
  DrawReportBox(painter, current);
  SetReportFont(painter, "Verdana", 8);
  DrawReportText(painter, Trunc(W * 0.072), Trunc(H * 0.382), " Current Harmonic ");
  DrawHarmonicBars(painter, page, current, block.CurrentHarmonics, report::kRed);

  DrawValuePanel(painter, page, block);
  DrawPowerPanel(painter, page, block);
  DrawHarmonicTable(painter, page, block);
  DrawInformationBlock(painter, page, info);
  painter.restore();
}
