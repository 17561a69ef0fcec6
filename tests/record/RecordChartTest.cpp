#include "record/RecordChart.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cmath>

#include "display/DateTimeText.h"
#include "record/RecordState.h"

namespace {

const QColor kBack(0, 0, 0);
const QColor kGrid(0, 128, 128);

RecordState& Fresh() {
  static RecordState state;
  state.Allocate();
  ResetRecordState(state);
  return state;
}

struct Drawn {
  QImage image;
  ChartTexts texts;
};

Drawn Draw(RecordChartState& chart, const RecordState& state, int W, int H) {
  Drawn drawn{QImage(W, H, QImage::Format_RGB32), {}};
  QPainter painter(&drawn.image);
  ChartData data;
  data.Buffers = &state.Live;
  data.Count = state.SampleCount;
  data.Last = state.SampleCount - 1;
  data.FileReady = true;
  drawn.texts = DrawRecordChart(painter, W, H, chart, data, kBack, kGrid, QLocale::c());
  return drawn;
}

// The rows of column x drawn in `colour`.
std::vector<int> RowsOf(const QImage& image, int x, QColor colour) {
  std::vector<int> rows;
  for (int y = 0; y < image.height(); ++y) {
    if (image.pixelColor(x, y) == colour) rows.push_back(y);
  }
  return rows;
}

// With scale 1 on a chart of H = 532, 500 lies on the top grid line and 0 on the bottom one;
// 600 leaves the chart and sets the top triangle.
TEST(RecordChart, PositiveRangeAtScaleOnePlacesFiveHundredOnTheTopLine) {
  RecordState& state = Fresh();
  state.SampleCount = 300;
  for (int i = 0; i < 300; ++i) {
    state.Live.Values[0][i] = 500;
    state.Live.Values[1][i] = 0;
  }
  RecordChartState chart;
  chart.ChannelScale[0] = chart.ChannelScale[1] = 1;
  Drawn drawn = Draw(chart, state, 800, 532);
  EXPECT_EQ(drawn.texts.Points, 299 / 1);
  const QColor green = kRecordChannelColours[0];
  const QColor red = kRecordChannelColours[1];
  for (int y : RowsOf(drawn.image, 40, green)) EXPECT_TRUE(y >= 15 && y <= 17) << y;
  EXPECT_FALSE(RowsOf(drawn.image, 40, green).empty());
  for (int y : RowsOf(drawn.image, 40, red)) EXPECT_TRUE(y >= 515 && y <= 517) << y;
  EXPECT_FALSE(chart.OverflowHigh[0]);
  EXPECT_EQ(drawn.texts.MarkerTop[0], 16 - 7);

  state.Live.Values[0][150] = 600;
  drawn = Draw(chart, state, 800, 532);
  EXPECT_TRUE(chart.OverflowHigh[0]);
  EXPECT_FALSE(chart.OverflowLow[0]);
  EXPECT_EQ(drawn.image.pixelColor(800 - 67, 3), green) << "the top triangle of channel A";
  EXPECT_NE(drawn.image.pixelColor(800 - 67 + 12, 3), red) << "channel B stays inside";
}

struct RangeCase {
  int mode;
  float value;
  int y;  // where the point lies on a chart of H = 532 at scale 1
};
const RangeCase kRanges[] = {
    {0, 0, 516},    {0, 250, 266}, {1, 0, 266},    {1, 500, 16},
    {1, -500, 516}, {2, 0, 16},    {2, -500, 516},
};

TEST(RecordChart, EachRangeModeHasItsZeroLine) {
  RecordState& state = Fresh();
  state.SampleCount = 50;
  for (const RangeCase& c : kRanges) {
    SCOPED_TRACE(testing::Message() << "mode " << c.mode << " value " << c.value);
    for (int i = 0; i < 50; ++i) state.Live.Values[0][i] = c.value;
    RecordChartState chart;
    chart.RangeMode = c.mode;
    chart.ChannelScale[0] = 1;
    const Drawn drawn = Draw(chart, state, 400, 532);
    EXPECT_EQ(drawn.texts.MarkerTop[0], c.y - 7);
  }
}

TEST(RecordChart, NegativeValuesInThePositiveRangeSetTheBottomTriangle) {
  RecordState& state = Fresh();
  state.SampleCount = 20;
  for (int i = 0; i < 20; ++i) state.Live.Values[2][i] = -20;
  RecordChartState chart;
  chart.ChannelScale[2] = 1;
  Draw(chart, state, 400, 532);
  EXPECT_TRUE(chart.OverflowLow[2]) << "y = 536 > H";
  for (int i = 0; i < 20; ++i) state.Live.Values[2][i] = -10;
  Draw(chart, state, 400, 532);
  EXPECT_FALSE(chart.OverflowLow[2]) << "y = 526 is still on the chart";
}

TEST(RecordChart, ZoomAndOffsetChooseTheSamplesShown) {
  RecordState& state = Fresh();
  state.SampleCount = 1000;
  for (int i = 0; i < 1000; ++i) state.Live.Times[i] = 46366 + (8 * 3600 + 3 * i) / 86400.0;
  RecordChartState chart;
  chart.Live.Zoom = 3;
  chart.Live.Offset = 100;
  const Drawn drawn = Draw(chart, state, 200, 300);
  EXPECT_EQ(drawn.texts.Points, 200) << "(999 - 100) / 3 is more than the width";
  EXPECT_EQ(drawn.texts.Step, "Setp: 3S");
  EXPECT_EQ(drawn.texts.Length, "Length: 200");
  // Newest shown: 999 - 100 = 899; oldest: 899 - 3 * 199 = 302.
  EXPECT_EQ(drawn.texts.End, "End: " + DaysText(QLocale::c(), state.Live.Times[899]));
  EXPECT_EQ(drawn.texts.Start, "Start: " + DaysText(QLocale::c(), state.Live.Times[302]));
}

TEST(RecordChart, NoPointGivesNoStartOrEnd) {
  RecordState& state = Fresh();
  state.SampleCount = 1;
  RecordChartState chart;
  const Drawn drawn = Draw(chart, state, 200, 300);
  EXPECT_EQ(drawn.texts.Points, 0);
  EXPECT_TRUE(drawn.texts.Start.isEmpty());
  EXPECT_TRUE(drawn.texts.End.isEmpty());
}

TEST(RecordChart, NonFiniteValuesAreDrawnWithoutHarm) {
  RecordState& state = Fresh();
  state.SampleCount = 10;
  state.Live.Values[0][5] = std::nanf("");
  state.Live.Values[1][5] = INFINITY;
  state.Live.Values[2][5] = -3e38f;
  RecordChartState chart;
  Draw(chart, state, 100, 200);
  EXPECT_TRUE(chart.OverflowHigh[1]);
  EXPECT_TRUE(chart.OverflowLow[2]);
  EXPECT_EQ(ChartHeight(std::nanf(""), 1, 532), 0);
  EXPECT_EQ(ChartHeight(1e30f, 1e4, 532), 1000000);
}

struct DivisionCase {
  double scale;
  int mode;
  const char* text;
};
const DivisionCase kDivisions[] = {
    {3, 0, "CH1/DIV=16.667"},  {10000, 0, "CH1/DIV=0.005"}, {1, 1, "CH1/DIV=25"},
    {0.05, 2, "CH1/DIV=1000"}, {3, 1, "CH1/DIV=8.3333"},
};

TEST(RecordChart, DivisionTexts) {
  for (const DivisionCase& c : kDivisions) {
    EXPECT_EQ(DivisionText(0, c.scale, c.mode), c.text);
  }
  EXPECT_EQ(DivisionText(5, 1, 0), "CH6/DIV=50");
}

TEST(RecordChart, ScaleStripLabelsByRange) {
  QImage strip(50, 532, QImage::Format_RGB32);
  QPainter painter(&strip);
  DrawScaleStrip(painter, 532, 0);
  // The axis, two pixels wide, at x 13 from y 16 down.
  EXPECT_EQ(strip.pixelColor(13, 100), QColor(Qt::black));
  EXPECT_EQ(strip.pixelColor(3, 16), QColor(Qt::black)) << "a long tick at 100 %";
  EXPECT_EQ(strip.pixelColor(4, 26), QColor(Qt::white)) << "a short tick at 98 % starts at 7";
  EXPECT_EQ(strip.pixelColor(8, 26), QColor(Qt::black));
}

}  // namespace
