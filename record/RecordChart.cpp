#include "record/RecordChart.h"

#include <QPolygon>
#include <algorithm>
#include <cmath>
#include <vector>

#include "display/DateTimeText.h"
#include "display/PlotDrawing.h"
#include "display/ValueFormat.h"

const double ScaleTable[kScaleCount] = {0.05, 0.1, 0.25, 0.5, 1,    2.5,  5,    10,   25,
                                        50,   100, 250,  500, 1000, 2500, 5000, 10000};

const QColor kRecordChannelColours[kRecordChannels] = {QColor(0, 128, 0),   QColor(255, 0, 0),
                                                       QColor(0, 0, 255),   QColor(128, 0, 0),
                                                       QColor(255, 255, 0), QColor(255, 0, 255)};

namespace {

constexpr double kHeightLimit = 1e6;

// 8 points, narrow, so that the six per-division texts fit their 85-pixel steps.
QFont ChartFont() {
  QFont font;
  font.setFamilies({"Liberation Sans Narrow", "DejaVu Sans Condensed", "Liberation Sans"});
  font.setPointSize(8);
  return font;
}

}  // namespace

ChartView& CurrentView(RecordChartState& state, int viewMode) {
  return viewMode == 1 ? state.Opened : state.Live;
}

int ChartHeight(float value, double scale, int H) {
  const double v = static_cast<double>(value) * scale * ((H - 32) / 500.0);
  if (std::isnan(v)) return 0;
  return RoundHalfEven(std::clamp(v, -kHeightLimit, kHeightLimit));
}

double DivisionValue(double scale, int rangeMode) {
  return rangeMode == 1 ? RoundHalfEven(250000 / scale) / 10000.0
                        : RoundHalfEven(50000 / scale) / 1000.0;
}

QString DivisionText(int channel, double scale, int rangeMode) {
  return QString("CH%1/DIV=").arg(channel + 1) + GeneralText(DivisionValue(scale, rangeMode));
}

ChartTexts DrawRecordChart(QPainter& painter, int W, int H, RecordChartState& state,
                           const ChartData& data, QColor background, QColor grid,
                           const QLocale& locale) {
  ChartTexts texts;
  painter.save();
  painter.fillRect(0, 0, W, H, background);
  painter.setFont(ChartFont());
  painter.setPen(QPen(grid, 1, Qt::DotLine));
  for (int b = 0; b <= 10; ++b) {
    const int y = RoundHalfEven((H - 32) * b / 10.0) + 16;
    painter.drawLine(0, y, W, y);
  }
  const int phase = data.ViewMode == 0 ? state.GridPhase : 0;
  for (int i = 0; i <= W / 20; ++i) {
    const int x = 20 * i + phase;
    painter.drawLine(x, 16, x, H - 16);
  }

  const ChartView& view = CurrentView(state, data.ViewMode);
  const int zoom = std::max(1, view.Zoom);
  texts.Step = QString("Setp: %1S").arg(zoom);
  std::fill(std::begin(state.OverflowHigh), std::end(state.OverflowHigh), false);
  std::fill(std::begin(state.OverflowLow), std::end(state.OverflowLow), false);
  if (data.FileReady && data.Buffers != nullptr) {
    // Never read outside the buffers, whatever the counts say.
    const int last = std::min(data.Last, kRecordCapacity - 1);
    const int points = std::clamp((last - view.Offset) / zoom, 0, std::max(W, 0));
    texts.Points = points;
    texts.Length = QString("Length: %1").arg(points);
    if (points >= 1) {
      const int newest = last - view.Offset;
      const int oldest = newest - zoom * (points - 1);
      texts.Start = "Start: " + DaysText(locale, data.Buffers->Times[oldest]);
      texts.End =
          (data.ViewMode == 0 ? "End: " : "End:") + DaysText(locale, data.Buffers->Times[newest]);
      QPolygon line(points);
      QVector<QLine> segments(points);
      for (int c = 0; c < kRecordChannels; ++c) {
        const float* values = data.Buffers->Values[c];
        for (int j = 0; j < points; ++j) {
          const int v = ChartHeight(values[newest - zoom * j], state.ChannelScale[c], H);
          int y = 0;
          switch (state.RangeMode) {
            case 1:
              y = H / 2 - RoundHalfEven(v / 2.0);
              break;
            case 2:
              y = 16 - v;
              break;
            default:
              y = (H - 16) - v;
              break;
          }
          if (y < 0) state.OverflowHigh[c] = true;
          if (y > H) state.OverflowLow[c] = true;
          // Far-off points are drawn at the edge of reach; QPainter needs sane numbers.
          line.setPoint(j, j, std::clamp(y, -2 * H - 16, 3 * H + 16));
        }
        const QColor colour = kRecordChannelColours[c];
        if (state.ChannelVisible[c]) {
          texts.MarkerTop[c] = line.point(0).y() - 7;
          painter.setPen(QPen(colour, 2, Qt::SolidLine));
          painter.setBrush(Qt::NoBrush);
          // The polyline as separate segments: a wide pen strokes a long zigzag polyline as
          // one self-overlapping outline, hundreds of times slower than its segments.
          for (int j = 1; j < points; ++j)
            segments[j - 1] = QLine(line.point(j - 1), line.point(j));
          painter.drawLines(segments.constData(), points - 1);
        }
        painter.setPen(QPen(colour, 1, Qt::SolidLine));
        painter.setBrush(colour);
        if (state.OverflowHigh[c]) {
          const QPoint top[3] = {{W - 72 + 12 * c, 5}, {W - 62 + 12 * c, 5}, {W - 67 + 12 * c, 0}};
          painter.drawPolygon(top, 3);
        }
        if (state.OverflowLow[c]) {
          const QPoint bottom[3] = {
              {W - 72 + 12 * c, H - 6}, {W - 62 + 12 * c, H - 6}, {W - 67 + 12 * c, H - 1}};
          painter.drawPolygon(bottom, 3);
        }
      }
    }
  } else {
    texts.Length = "Length: 0";
  }

  painter.setBackgroundMode(Qt::OpaqueMode);
  painter.setBackground(background);
  painter.setBrush(Qt::NoBrush);
  const QFontMetrics metrics(painter.font());
  auto text = [&](int x, const QString& s, QColor colour) {
    painter.setPen(colour);
    painter.drawText(x, H - 12 + metrics.ascent(), s);
  };
  text(5, QString("Time/DIV=%1S").arg(zoom * 20),
       data.ViewMode == 0 ? QColor(0, 128, 128) : QColor(0, 128, 0));
  for (int c = 0; c < kRecordChannels; ++c) {
    text(100 + 85 * c, DivisionText(c, state.ChannelScale[c], state.RangeMode),
         kRecordChannelColours[c]);
  }
  painter.restore();
  return texts;
}

void DrawScaleStrip(QPainter& painter, int H, int rangeMode) {
  painter.save();
  painter.fillRect(0, 0, 50, H, Qt::white);
  const QFont font = ChartFont();
  painter.setFont(font);
  const QFontMetrics metrics(font);
  painter.setPen(QPen(Qt::black, 1));
  for (int i = 0; i <= 50; ++i) {
    const int y = RoundHalfEven((H - 32) * i / 50.0) + 16;
    if (i % 5 == 0) {
      painter.drawLine(3, y, 13, y);
      const QString label = rangeMode == 1   ? QString("%1%").arg(100 - 4 * i)
                            : rangeMode == 2 ? QString("-%1%").arg(2 * i)
                                             : QString("%1%").arg(100 - 2 * i);
      painter.drawText(20, y - 6 + metrics.ascent(), label);
    } else {
      painter.drawLine(7, y, 13, y);
    }
  }
  painter.setPen(QPen(Qt::black, 2));
  painter.drawLine(13, 16, 13, H - 16);
  painter.restore();
}
