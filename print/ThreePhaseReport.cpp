#include "print/ThreePhaseReport.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <numbers>

#include "display/PageValueTable.h"
#include "print/ReportFrame.h"

namespace {

using Box = ReportBox;

void DrawSamplingBox(QPainter& painter, const PageFrame& page, const MeasurementSet& set,
                     int& stripHeight) {
  const int W = page.W, H = page.H;
  const Box b{page.L, Trunc(H * 0.072), page.L + Trunc(W * 0.55),
              Trunc(H * 0.072) + Trunc(H * 0.65)};
  SetReportPen(painter, report::kBlack, 1);
  DrawReportBox(painter, b);
  SetReportFont(painter, "Verdana", 8);
  DrawReportText(painter, Trunc(W * 0.072), Trunc(H * 0.065), " Sampling ");

  for (int k = 1; k <= 11; ++k) {
    const int y = b.y1 + Trunc(b.h() * k / 12.0);
    if (k % 2 == 0) {
      SetReportPen(painter, report::kMediumGray, 1, Qt::DotLine);
      painter.drawLine(b.x1, y, b.x2, y);
      continue;
    }
    SetReportPen(painter, report::kMediumGray, 1);
    painter.drawLine(b.x1, y, b.x2, y);
    for (int j = 1; j <= 19; ++j) {
      const int x = b.x1 + Trunc(b.w() * j / 20.0);
      const int t = j % 2 == 1 ? 2 : 4;
      painter.drawLine(x, y + t - 1, x, y - t);
    }
  }
  SetReportPen(painter, report::kMediumGray, 1);
  for (int k = 1; k <= 59; ++k) {
    const int y = b.y1 + Trunc(b.h() * k / 60.0);
    painter.drawLine(b.x1, y, b.x1 + (k % 2 == 1 ? 3 : 5), y);
  }

  struct Strip {
    const char* label;
    int channel;
    bool voltage;
  };
  const Strip strips[6] = {{" CH1 Voltage", 0, true}, {" CH1 Current", 0, false},
                           {" CH2 Voltage", 1, true}, {" CH2 Current", 1, false},
                           {" CH3 Voltage", 2, true}, {" CH3 Current", 2, false}};
  const int width = Trunc((page.B - page.T) * 0.0008);
  SetReportFont(painter, "Verdana", 6);
  const int s = Trunc(b.h() / 6.0);
  stripHeight = s;
  for (int i = 0; i < 6; ++i) {
    const Strip& strip = strips[i];
    const ChannelBlock& block = set.Channel[strip.channel];
    const int yc = b.y1 + Trunc(b.h() * (2 * i + 1) / 12.0);
    SetReportPen(painter, strip.voltage ? report::kGreen : report::kRed, width);
    DrawReportText(painter, b.x2 - Round(b.w() * 0.15), yc - s / 2 + Round(s * 0.02), strip.label);
    const int16_t(&samples)[512] = strip.voltage ? block.VoltageWave : block.CurrentWave;
    const int M = LargestSample(samples);
    const float V = M != 0 ? (static_cast<float>(s) / 2 * 0.9f) / static_cast<float>(M) : 0;
    const float dx = block.WaveSampleCount != 0 ? static_cast<float>(b.w()) / 512.0f : 0.0f;
    DrawReportTrace(painter, b.x1, yc, samples, V, dx);
  }
}

void DrawVectorBox(QPainter& painter, const PageFrame& page, const MeasurementSet& set,
                   int stripHeight, const VectorChoice& vectors) {
  const int W = page.W, H = page.H;
  const int width = Trunc((page.B - page.T) * 0.0008);
  const int bw = Trunc(W * 0.55), bh = Trunc(H * 0.18);
  const int x1 = page.L, y1 = Trunc(H * 0.072) + Trunc(H * 0.66);
  SetReportPen(painter, report::kBlack, width);
  painter.drawRect(x1, y1, bw, bh);
  SetReportFont(painter, "Verdana", 8);
  DrawReportText(painter, Trunc(W * 0.072), y1 - Round(stripHeight * 0.06), " Vector ");

  const int cx = x1 + bw / 2, cy = y1 + bh / 2;
  const int r = bh / 2 - 30;
  SetReportPen(painter, report::kMediumGray, width);
  SetReportFont(painter, "Verdana", 6);
  painter.drawEllipse(QRect(QPoint(cx - r, cy - r), QPoint(cx + r, cy + r)));
  const int d = Round(r * 0.2);
  painter.drawEllipse(QRect(QPoint(cx - r + d, cy - r + d), QPoint(cx + r - d, cy + r - d)));

  const int m = Round(bh * 0.05);
  const int span = bh - m;
  for (int k = 0; k <= 10; ++k) {
    const int y = y1 + Round(bh * 0.025) + Trunc(span * k / 10.0);
    if (k == 5) {
      SetReportPen(painter, report::kMediumGray, width, Qt::DotLine);
      const int reach = span / 2 + Round(bh * 0.035);
      painter.drawLine(cx - reach, y, cx + reach, y);
    } else {
      SetReportPen(painter, report::kMediumGray, width);
      const int a = k % 2 == 0 ? Round(bw * 0.012) : Round(bw * 0.007);
      painter.drawLine(cx - a, y, cx + a, y);
    }
  }
  for (int k = 0; k <= 10; ++k) {
    const int x = cx - span / 2 + Trunc(span * k / 10.0);
    if (k == 5) {
      SetReportPen(painter, report::kMediumGray, width, Qt::DotLine);
      painter.drawLine(cx, y1, cx, y1 + bh);
    } else {
      SetReportPen(painter, report::kMediumGray, width);
      const int b = k % 2 == 0 ? Round(bh * 0.015) : Round(bh * 0.01);
      painter.drawLine(x, cy - b, x, cy + b);
    }
  }
  SetReportPen(painter, report::kBlack, width);
  DrawReportText(painter, cx + r + Round(bh * 0.045), cy - Round(bh * 0.025), "0");
  DrawReportText(painter, cx - r - Round(bh * 0.11), cy - Round(bh * 0.025), "180");

  float vmax = 0, imax = 0;
  for (const ChannelBlock& c : set.Channel) {
    vmax = std::max(vmax, c.VoltagePeak);
    imax = std::max(imax, c.CurrentPeak);
  }
  const double voltageScale = vmax > 0 ? r / static_cast<double>(vmax) : 0;
  const double currentScale = imax > 0 ? r * 0.8 / static_cast<double>(imax) : 0;

  const QString colon = QString::fromUtf8("：");
  const int xr = x1 + bw - Round(bw * 0.25);
  DrawReportText(painter, xr, y1 + Round(bh / 14.0), "0 Deg Ref" + colon + "Ua");
  DrawReportText(painter, xr, y1 + Round(bh * 2 / 14.0),
                 "Ua Frequency" + colon + D2(set.Channel[0].Frequency) + " Hz");
  DrawReportText(painter, xr, y1 + Round(bh * 3 / 14.0),
                 set.Channel[0].TriggerMode == 0 ? "TRIG: Zero Crossing" : "TRIG: Fundamental");

  const char* const names[6] = {"Ua", "Ub", "Uc", "I a", "I b", "I c"};
  const QColor colours[6] = {report::kOrange, report::kGreen, report::kRed,
                             report::kAqua,   report::kBlue,  report::kLime};
  const int arrow = Round(bh * 0.05);
  for (int i = 0; i < 6; ++i) {
    if (!vectors[i]) continue;
    const bool voltage = i < 3;
    const ChannelBlock& c = set.Channel[i % 3];
    const double v = voltage ? c.VoltagePeak : c.CurrentPeak;
    const double phi = voltage ? c.VoltagePhase : c.CurrentPhase;
    const double scale = voltage ? voltageScale : currentScale;
    const double theta = phi * std::numbers::pi / 180;
    SetReportPen(painter, colours[i], width);
    const int n = Round(v * scale);
    const int tx = Round(cx + std::cos(theta) * n), ty = Round(cy - std::sin(theta) * n);
    painter.drawLine(cx, cy, tx, ty);
    if (std::abs(v * scale) > arrow) {
      const double spread = 20 * std::numbers::pi / 180;
      painter.drawLine(tx, ty, Round(tx - std::cos(theta + spread) * arrow),
                       Round(ty + std::sin(theta + spread) * arrow));
      painter.drawLine(tx, ty, Round(tx - std::cos(theta - spread) * arrow),
                       Round(ty + std::sin(theta - spread) * arrow));
    }
    const QString magnitude = QString(names[i]) + colon + (voltage ? D1(v) + " V" : D3(v) + " A");
    DrawReportText(painter, x1 + Round(bw * 0.015), y1 + Round(bh * (2 * i + 1) / 14.0), magnitude);
    DrawReportText(painter, x1 + Round(bw * 0.068), y1 + Round(bh * (2 * i + 2) / 14.0),
                   D1(phi) + " deg");
  }
}

struct ValueRow {
  const char* label;
  size_t offset;
  bool counter;
  const char* unit;
};
#define TP(field) offsetof(ThreePhaseBlock, field)
const ValueRow kValueRows[24] = {
    {"Line voltage Uab:", TP(LineVoltageAB), false, " V"},
    {"Line voltage Ubc:", TP(LineVoltageBC), false, " V"},
    {"Line voltage Uca:", TP(LineVoltageCA), false, " V"},
    {"Total active power:", TP(TotalActivePower), false, " W"},
    {"Total apparent power:", TP(TotalApparentPower), false, " VA"},
    {"Total reactive power:", TP(TotalReactivePower), false, " VAR"},
    {"Positive sequence voltage:", TP(VoltagePositiveSeq), false, " V"},
    {"Negative sequence voltage:", TP(VoltageNegativeSeq), false, " V"},
    {"Zero-sequence voltage:", TP(VoltageZeroSeq), false, " V"},
    {"Voltage Unbalance Factor:", TP(VoltageUnbalanceVuf), false, ""},
    {"Voltage Unbalance Rate:", TP(VoltageUnbalancePvur), false, ""},
    {"Positive sequence current:", TP(CurrentPositiveSeq), false, " A"},
    {"Negative sequence current:", TP(CurrentNegativeSeq), false, " A"},
    {"Zero-sequence current:", TP(CurrentZeroSeq), false, " A"},
    {"Current Unbalance Factor:", TP(CurrentUnbalanceCuf), false, ""},
    {"Current Unbalance Rate:", TP(CurrentUnbalancePcur), false, ""},
    {"Active demand:", TP(DemandActivePower), false, " W"},
    {"Apparent demand:", TP(DemandApparentPower), false, " VA"},
    {"Reactive power demand:", TP(DemandReactivePower), false, " VAR"},
    {"Total WP:", TP(EnergyWp), true, " KWH"},
    {"Total WP+:", TP(EnergyWpPositive), true, " KWH"},
    {"Total WP-:", TP(EnergyWpNegative), true, " KWH"},
    {"Total VAH:", TP(EnergyKvah), true, " VAH"},
    {"Total VARH:", TP(EnergyKvarh), true, " VARH"},
};
#undef TP

void DrawValueColumn(QPainter& painter, const PageFrame& page, const ThreePhaseBlock& block) {
  const int W = page.W, H = page.H;
  SetReportPen(painter, report::kBlack, 1);
  SetReportFont(painter, "Verdana", 8);
  const int xl = page.L + Trunc(W * 0.55) + Trunc(W * 0.025);
  for (int k = 0; k < 24; ++k) {
    const int y = Trunc(H * 0.075) + k * Trunc(H * 0.035);
    DrawReportText(painter, xl, y, kValueRows[k].label);
    DrawReportText(
        painter, xl + Trunc(W * 0.185), y,
        D2(BlockNumber(&block, kValueRows[k].offset, kValueRows[k].counter)) + kValueRows[k].unit);
  }
}

}  // namespace

void DrawThreePhaseReport(QPainter& painter, int W, int H, const MeasurementRecord& printed,
                          int pageNumber, const VectorChoice& vectors, const PrintInfo& info) {
  // The page's own copy; a record is large, so it lives on the heap.
  const auto record = std::make_unique<MeasurementRecord>(printed);
  const PageFrame page = MakePageFrame(W, H);
  painter.save();
  painter.setBrush(report::kWhite);
  painter.setBackground(report::kWhite);
  painter.setBackgroundMode(Qt::OpaqueMode);
  painter.setRenderHint(QPainter::Antialiasing, false);
  DrawReportHeader(painter, page, QString("Three-phase analysis /Page %1").arg(pageNumber), 0.7);
  int stripHeight = 0;
  DrawSamplingBox(painter, page, record->Set, stripHeight);
  DrawVectorBox(painter, page, record->Set, stripHeight, vectors);
  DrawValueColumn(painter, page, record->Set.ThreePhase);
  SetReportFont(painter, "Verdana", 8);
  DrawInformationBlock(painter, page, info);
  painter.restore();
}
