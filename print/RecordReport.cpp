#include "print/RecordReport.h"

#include <QImage>
#include <QPainter>
#include <QPolygon>
#include <algorithm>
#include <vector>

#include "display/ValueFormat.h"
#include "print/ReportFrame.h"

namespace {

const QColor kLightGray(221, 221, 221);
const QColor kTeal(0, 128, 128);

void Triangle(QPainter& painter, QPoint a, QPoint b, QPoint c) {
  painter.drawPolygon(QPolygon({a, b, c}));
}

}  // namespace

int RecordReportColumns(int W, int H, int p) {
  const PageFrame page = MakePageFrame(W, H);
  return Trunc((page.R - page.L) * 0.92) / std::max(1, p);
}

void FillRecordPanels(RecordReportData& report, RecordChartState& state, int columns) {
  QImage scratch(std::max(1, columns), 64, QImage::Format_RGB32);
  QPainter painter(&scratch);
  // The chart's overflow flags are the window's; the page sets its own when drawn.
  RecordChartState copy = state;
  const ChartTexts texts = DrawRecordChart(painter, scratch.width(), scratch.height(), copy,
                                           report.Data, Qt::white, Qt::gray);
  report.Panels[0] = texts.Step;
  report.Panels[1] = texts.Points >= 1 ? texts.Start : "Start:";
  report.Panels[2] = texts.Points >= 1 ? texts.End : "End:";
  report.Panels[3] = texts.Length;
}

void DrawRecordReport(QPainter& painter, int W, int H, int p, RecordChartState& state,
                      const RecordReportData& report, const PrintInfo& info) {
  const PageFrame page = MakePageFrame(W, H);
  const int L = page.L, T = page.T, R = page.R, B = page.B;
  p = std::max(1, p);
  const int CW = Trunc((R - L) * 0.92);
  const int CH = H - 2 * T - Round(H * 0.3);
  const int Yg = Round(T * 2.3);
  const int Yc = Round(T * 2.2);
  const float unit = static_cast<float>(CH) / 500.0f;

  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setBrush(report::kWhite);
  painter.setBackgroundMode(Qt::TransparentMode);
  SetReportPen(painter, report::kBlack, 1);
  SetReportFont(painter, "Arial", 16);
  DrawReportText(painter, L, T, "Record Report");
  SetReportPen(painter, report::kGray, 1);
  SetReportFont(painter, "Arial", 7);
  DrawReportText(painter, Trunc((R - L) * 0.985), Trunc((B - T) * 0.01 + T), "Page 5");
  SetReportPen(painter, report::kGray, Trunc((B - T) * 0.0015));
  const int rule = T + Trunc(H * 0.038);
  painter.drawLine(L, rule, R, rule);
  SetReportFont(painter, "Arial", 8);

  SetReportPen(painter, kLightGray, 1, Qt::DotLine);
  for (int k = 0; k <= 10; ++k) {
    const int y = Round(CH * k / 10.0) + Yg;
    painter.drawLine(L, y, L + CW, y);
  }
  const int g = 20 * p;
  for (int k = 0; k <= CW / g; ++k) painter.drawLine(L + k * g, Yg, L + k * g, Yg + CH);

  SetReportPen(painter, report::kBlack, Trunc((B - T) * 0.001));
  for (int i = 0; i <= 50; ++i) {
    const int y = Round(CH * i / 50.0) + Yg;
    if (i % 5 == 0) {
      painter.drawLine(L + CW, y, L + Round((R - L) * 0.95), y);
      QString label;
      if (state.RangeMode == 1) {
        label = QString::number(100 - 4 * i) + "%";
      } else if (state.RangeMode == 2) {
        label = "-" + QString::number(2 * i) + "%";
      } else {
        label = QString::number(100 - 2 * i) + "%";
      }
      const QPen line = painter.pen();
      SetReportPen(painter, report::kGray, 1);
      DrawReportText(painter, L + Round((R - L) * 0.96), y - Round(H * 0.01), label);
      painter.setPen(line);
    } else {
      painter.drawLine(L + Round((R - L) * 0.93), y, L + Round((R - L) * 0.95), y);
    }
  }
  SetReportPen(painter, report::kBlack, Trunc((B - T) * 0.0015));
  const int scaleX = L + Round((R - L) * 0.95);
  painter.drawLine(scaleX, Yg, scaleX, Yg + CH);

  const ChartData& data = report.Data;
  const ChartView& view = CurrentView(state, data.ViewMode);
  const int zoom = std::max(1, view.Zoom);
  bool buffers = data.Buffers != nullptr;
  for (int c = 0; c < kRecordChannels && buffers; ++c) buffers = data.Buffers->Values[c] != nullptr;
  if (data.FileReady && buffers) {
    const int last = data.Last;
    const int P = std::max(0, std::min((last - view.Offset) / zoom, CW / p));
    std::vector<int> ys[kRecordChannels];
    for (int c = 0; c < kRecordChannels; ++c) {
      state.OverflowHigh[c] = false;
      state.OverflowLow[c] = false;
      ys[c].resize(static_cast<size_t>(P));
      for (int j = 0; j < P; ++j) {
        const int s = last - view.Offset - zoom * j;
        const int v =
            Round(static_cast<double>(data.Buffers->Values[c][s]) * state.ChannelScale[c] * unit);
        int y = state.RangeMode == 1   ? Yc + CH / 2 - Round(v / 2.0)
                : state.RangeMode == 2 ? Yc - v
                                       : Yc + CH - v;
        if (y < Yc) state.OverflowHigh[c] = true;
        if (y > Yc + CH) state.OverflowLow[c] = true;
        ys[c][static_cast<size_t>(j)] = y;
      }
    }
    for (int c = 0; c < kRecordChannels; ++c) {
      const QColor colour = kRecordChannelColours[c];
      if (state.ChannelVisible[c] && P > 0) {
        SetReportPen(painter, colour, Trunc((B - T) * 0.0015));
        std::vector<int>& y = ys[c];
        QPoint at(L, y[0]);
        for (int j = 0; j < P; ++j) {
          const int x = L + j * p;
          const size_t i = static_cast<size_t>(j);
          if (y[i] < Yc) {
            if (j == 0) {
              at = QPoint(x, y[i]);
            } else {
              const bool wasBelow = y[i - 1] > Yc;
              y[i] = Yc;
              if (wasBelow) painter.drawLine(at, QPoint(x, Yc));
              at = QPoint(x, Yc);
            }
          } else if (y[i] > Yc + CH) {
            if (j == 0) {
              at = QPoint(x, y[i]);
            } else {
              const bool wasAbove = y[i - 1] < Yc + CH;
              y[i] = Yc + CH;
              if (wasAbove) painter.drawLine(at, QPoint(x, Yc + CH));
              at = QPoint(x, Yc + CH);
            }
          } else {
            painter.drawLine(at, QPoint(x, y[i]));
            at = QPoint(x, y[i]);
          }
        }
      }
      const int xk = R - (142 - 10 * c) * p;
      const int a = Round(W * 0.01), b = Round(W * 0.005);
      QPen outline = painter.pen();
      outline.setWidth(1);
      painter.setPen(outline);
      painter.setBrush(colour);
      const int top = Round(T * 2.25);
      if (state.OverflowHigh[c]) Triangle(painter, {xk, top}, {xk + a, top}, {xk + b, top - b});
      if (state.OverflowLow[c])
        Triangle(painter, {xk, Yg + CH}, {xk + a, Yg + CH}, {xk + b, Yg + CH + b});
      painter.setBrush(report::kWhite);
    }
  }

  painter.setBackgroundMode(Qt::TransparentMode);
  SetReportFont(painter, "Arial", 8);
  SetReportPen(painter, kTeal, 1);
  DrawReportText(painter, L, Yg + CH, "Time/DIV=" + GeneralText(Round(zoom * 20.0)) + "S");
  const char letters[] = "abcdef";
  for (int k = 1; k <= kRecordChannels; ++k) {
    SetReportPen(painter, kRecordChannelColours[k - 1], 1);
    DrawReportText(painter, L + k * ((R - L) / 9), Yg + CH,
                   QString("CH%1/DIV=").arg(letters[k - 1]) +
                       GeneralText(DivisionValue(state.ChannelScale[k - 1], state.RangeMode)));
  }

  const int q = (R - L) / 8;
  const int y1 = CH + T + Round(H * 0.1), y2 = CH + T + Round(H * 0.13);
  SetReportPen(painter, report::kBlack, 1);
  DrawReportText(painter, L, y1, "Signal Description:");
  const int nameX[kRecordChannels] = {L + q, L + 3 * q, L + 5 * q, L + q, L + 3 * q, L + 5 * q};
  for (int c = 0; c < kRecordChannels; ++c) {
    SetReportPen(painter, kRecordChannelColours[c], 1);
    DrawReportText(painter, nameX[c], c < 3 ? y1 : y2,
                   QString("CH%1: ").arg(letters[c]) + report.Names[c]);
  }

  SetReportPen(painter, report::kGray, 1);
  const int y3 = CH + T + Round(H * 0.17);
  DrawReportText(painter, L, y3, report.Panels[0]);
  DrawReportText(painter, L + q, y3, report.Panels[1]);
  DrawReportText(painter, L + 3 * q, y3, report.Panels[2]);
  DrawReportText(painter, L + 5 * q, y3, report.Panels[3] + QString::fromUtf8("点"));

  const int y4 = CH + T + Round(H * 0.21);
  DrawReportText(painter, L, y4, "Note:");
  painter.setBrush(report::kGray);
  const int up = L + Round(W * 0.055), y5 = CH + T + Round(H * 0.217);
  Triangle(painter, {up, y5}, {up + Round(W * 0.01), y5},
           {up + Round(W * 0.005), y5 - Round(W * 0.005)});
  const int down = L + Round(W * 0.075), y6 = CH + T + Round(H * 0.213);
  Triangle(painter, {down, y6}, {down + Round(W * 0.01), y6},
           {down + Round(W * 0.005), y6 + Round(W * 0.005)});
  painter.setBrush(report::kWhite);
  painter.setBackgroundMode(Qt::TransparentMode);
  DrawReportText(painter, L + Round(W * 0.11), y4,
                 "Icons for the overflow and negative overflow flag when a channel overflow,");
  DrawReportText(painter, L + Round(W * 0.11), CH + T + Round(H * 0.22),
                 "the corresponding color of the icon in the upper right corner and bottom right.");

  painter.setBackgroundMode(Qt::TransparentMode);
  SetReportPen(painter, report::kGray, Trunc((B - T) * 0.0015));
  const int infoRule = T + Trunc((B - T) * 0.94);
  painter.drawLine(L, infoRule, R, infoRule);
  SetReportPen(painter, report::kBlack, 1);
  SetReportFont(painter, "Arial", 8);
  const int r1 = T + Trunc((B - T) * 0.948), r2 = T + Trunc((B - T) * 0.975);
  const int x1 = L, x2 = L + Trunc((R - L) * 0.37), x3 = L + Trunc((R - L) * 0.74);
  DrawReportText(painter, x1, r1, "Project Name: " + info.ProjectName);
  DrawReportText(painter, x2, r1, "Test organizations: " + info.Company);
  DrawReportText(painter, x3, r1, "Tester: " + info.Tester);
  DrawReportText(painter, x1, r2, "Date: " + info.Date);
  DrawReportText(painter, x2, r2, "Instruments: Quvex RXM5620");
  DrawReportText(painter, x3, r2, "Temperature: " + info.Temperature + info.UnitText);
  painter.restore();
}
