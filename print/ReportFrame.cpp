#include "print/ReportFrame.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "display/PlotDrawing.h"
#include "display/ValueFormat.h"

PageFrame MakePageFrame(int W, int H) {
  PageFrame page;
  page.W = W;
  page.H = H;
  page.L = W / 18;
  page.T = H / 26;
  page.R = W - page.L;
  page.B = H - page.T;
  return page;
}

int Trunc(double x) {
  return TruncToInt(x);
}

int Round(double x) {
  return RoundHalfEven(x);
}

QFont ReportFont(const QString& family, double points) {
  QFont font(family);
  font.setFamilies({family, "DejaVu Sans", "WenQuanYi Zen Hei", "Noto Sans CJK SC"});
  font.setPointSizeF(points);
  return font;
}

void SetReportFont(QPainter& painter, const QString& family, double points) {
  QFont font = ReportFont(family, points);
  // Points of the target device: the painter's device decides the pixels.
  painter.setFont(QFont(font, painter.device()));
}

void DrawReportText(QPainter& painter, int x, int y, const QString& text) {
  if (text.isEmpty()) return;
  const QFontMetrics metrics(painter.font(), painter.device());
  const QRect box(x, y, metrics.horizontalAdvance(text) + 1, metrics.height());
  if (painter.backgroundMode() == Qt::OpaqueMode) painter.fillRect(box, painter.background());
  painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, text);
}

void DrawMeasuredValue(QPainter& painter, int x, int y, float value, const QString& unit, int width,
                       float scale, float divisor) {
  DrawReportText(painter, x, y, MeasuredValueText(unit, width, scale, divisor, value));
}

void DrawCounterValue(QPainter& painter, int x, int y, double value, const QString& unit,
                      float scale, float divisor) {
  DrawReportText(painter, x, y, CounterValueText(unit, scale, divisor, value));
}

namespace {
QString RoundedText(double v, double factor) {
  return GeneralText(static_cast<long double>(std::nearbyint(v * factor)) / factor);
}
}  // namespace

QString D1(double v) {
  return RoundedText(v, 10);
}
QString D2(double v) {
  return RoundedText(v, 100);
}
QString D3(double v) {
  return RoundedText(v, 1000);
}

void DrawReportBox(QPainter& painter, const ReportBox& box) {
  painter.drawRect(box.x1, box.y1, box.w(), box.h());
}

int LargestSample(const int16_t (&samples)[512]) {
  int largest = 0;
  for (int16_t s : samples) largest = std::max(largest, std::abs(static_cast<int>(s)));
  return largest;
}

void DrawReportTrace(QPainter& painter, int x1, int yc, const int16_t (&samples)[512], float scale,
                     float dx) {
  QPoint last(x1, yc - Round(samples[0] * scale));
  float X = 0;
  for (int k = 1; k < 512; ++k) {
    X += dx;
    const QPoint next(x1 + Round(X), yc - Round(samples[k] * scale));
    painter.drawLine(last, next);
    last = next;
  }
}

void SetReportPen(QPainter& painter, const QColor& colour, int width, Qt::PenStyle style) {
  QPen pen(colour, width, style);
  pen.setCapStyle(Qt::FlatCap);
  pen.setJoinStyle(Qt::MiterJoin);
  painter.setPen(pen);
}

void DrawReportHeader(QPainter& painter, const PageFrame& page, const QString& label, double f) {
  const int L = page.L, T = page.T, R = page.R, B = page.B;
  SetReportPen(painter, report::kBlack, 1);
  SetReportFont(painter, "Verdana", page.Portrait() ? 16 : 12);
  DrawReportText(painter, L, T, "Power Analysis Report");
  SetReportFont(painter, "Verdana", page.Portrait() ? 10 : 7);
  DrawReportText(painter, L + Trunc((R - L) * f), Trunc((B - T) * 0.01 + T), label);
  SetReportPen(painter, report::kGray, Trunc((B - T) * 0.0015));
  const int y = T + Trunc((B - T) * 0.027);
  painter.drawLine(L, y, R, y);
  SetReportPen(painter, report::kBlack, 1);
}

void DrawInformationBlock(QPainter& painter, const PageFrame& page, const PrintInfo& info) {
  const int L = page.L, T = page.T, R = page.R, B = page.B;
  SetReportPen(painter, report::kGray, Trunc((B - T) * 0.0015));
  const int rule = T + Trunc((B - T) * 0.95);
  painter.drawLine(L, rule, R, rule);
  SetReportPen(painter, report::kBlack, 1);
  SetReportFont(painter, "Verdana", 8);
  const int y1 = T + Trunc((B - T) * 0.955);
  const int y2 = T + Trunc((B - T) * 0.975);
  const int x1 = L, x2 = L + Trunc((R - L) * 0.37), x3 = L + Trunc((R - L) * 0.74);
  const QString colon = QString::fromUtf8("：");
  DrawReportText(painter, x1, y1, "Project Name" + colon + info.ProjectName);
  DrawReportText(painter, x2, y1, "Licenser" + colon + info.Company);
  DrawReportText(painter, x3, y1, "Operator" + colon + info.Tester);
  DrawReportText(painter, x1, y2, "Date" + colon + info.Date);
  DrawReportText(painter, x2, y2, "Measure by" + colon + "Quvex RXE5620");
  DrawReportText(painter, x3, y2, "Temperature" + colon + info.Temperature + info.UnitText);
}
