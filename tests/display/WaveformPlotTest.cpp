#include "display/WaveformPlot.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <limits>

namespace {

const QColor kBack(238, 238, 238);
const QColor kGrid(170, 170, 170);
const QColor kRed(255, 0, 0);
const QColor kGreen(0, 128, 0);

ChannelBlock ZeroBlock() {
  ChannelBlock block;
  std::memset(&block, 0, sizeof block);
  block.WaveSampleCount = kWaveSamples;
  return block;
}

// Draws into an image the size of the paint box (plot size + 2).
QImage Draw(const ChannelBlock& block, int H, int W) {
  QImage image(W + 2, H + 2, QImage::Format_RGB32);
  image.fill(Qt::black);
  DrawWaveformPlot(image, image.rect(), H, W, kGrid, block, kBack, kRed, kGreen);
  return image;
}

struct PlotSize {
  int H, W;
};
const PlotSize kSizes[] = {{268, 467}, {200, 300}};

TEST(WaveformPlot, GridLinesAndHalfDivisionTicksSitWhereTheFormulasPutThem) {
  for (const PlotSize& s : kSizes) {
    SCOPED_TRACE(testing::Message() << s.W << " x " << s.H);
    const QImage img = Draw(ZeroBlock(), s.H, s.W);
    const int h = s.H - 4, w = s.W - 4;
    for (int i = 0; i <= 8; ++i) {
      const int y = static_cast<int>(h * i / 8.0) + 2;
      if (i != 4) {  // the centre line lies under the flat traces
        EXPECT_EQ(img.pixelColor(2, y), kGrid) << "row " << i;
        EXPECT_EQ(img.pixelColor(3, y), kBack) << "row " << i;  // dotted
        EXPECT_EQ(img.pixelColor(4, y), kGrid) << "row " << i;
      }
      const int tickY = static_cast<int>(h * i / 8.0 + h / 16.0) + 2;
      if (i == 8) continue;  // the last tick falls below the plot
      EXPECT_EQ(img.pixelColor(w / 2 - 1, tickY), kGrid) << "tick " << i;
      EXPECT_EQ(img.pixelColor(w / 2 + 5, tickY), kGrid) << "tick " << i;
      EXPECT_EQ(img.pixelColor(w / 2 + 6, tickY), kBack) << "tick " << i;
      EXPECT_EQ(img.pixelColor(w / 2 - 2, tickY), kBack) << "tick " << i;
    }
    for (int i = 0; i <= 10; ++i) {
      const int x = static_cast<int>(w * i / 10.0) + 2;
      EXPECT_EQ(img.pixelColor(x, 2), kGrid) << "column " << i;
      EXPECT_EQ(img.pixelColor(x, 3), kBack) << "column " << i;
      const int tickX = static_cast<int>(w * i / 10.0 + w / 20.0) + 2;
      if (i < 10) {
        EXPECT_EQ(img.pixelColor(tickX, h / 2 - 1), kGrid) << "tick " << i;
        EXPECT_EQ(img.pixelColor(tickX, h / 2 + 5), kGrid) << "tick " << i;
        EXPECT_EQ(img.pixelColor(tickX, h / 2 + 6), kBack) << "tick " << i;
      }
    }
    // The frame of background outside the grid.
    EXPECT_EQ(img.pixelColor(1, 1), kBack);
    EXPECT_EQ(img.pixelColor(s.W + 1, s.H + 1), kBack);
  }
}

TEST(WaveformPlot, AZeroBlockDrawsFlatTracesOnTheCentreLineVoltageOverCurrent) {
  for (const PlotSize& s : kSizes) {
    SCOPED_TRACE(testing::Message() << s.W << " x " << s.H);
    const QImage img = Draw(ZeroBlock(), s.H, s.W);
    const int mid = (s.H - 4) / 2;
    const float step = static_cast<float>((s.W - 4) / 512.0);
    float x = 0;
    for (int i = 1; i < kWaveSamples; ++i) x += step;
    const int end = static_cast<int>(std::nearbyint(x)) + 2;  // not covered
    for (int px = 2; px < end; ++px) ASSERT_EQ(img.pixelColor(px, mid + 2), kGreen) << px;
    EXPECT_NE(img.pixelColor(end, mid + 2), kGreen);
    for (int y = 0; y < img.height(); ++y) {
      for (int px = 0; px < img.width(); ++px) {
        ASSERT_NE(img.pixelColor(px, y), kRed) << px << "," << y;
        if (y != mid + 2) {
          ASSERT_NE(img.pixelColor(px, y), kGreen) << px << "," << y;
        }
      }
    }
  }
}

// The rows that pixels of `colour` reach.
std::pair<int, int> RowRange(const QImage& img, const QColor& colour) {
  int top = img.height(), bottom = -1;
  for (int y = 0; y < img.height(); ++y) {
    for (int x = 0; x < img.width(); ++x) {
      if (img.pixelColor(x, y) == colour) {
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
    }
  }
  return {top, bottom};
}

TEST(WaveformPlot, TheLargestAbsoluteSampleTouchesTheExtremeOfItsRange) {
  struct Case {
    int H, W;
    bool current;
    int16_t sample;  // at index 500 (right of the legend), another a tenth of it, the rest 0
    int extremeRow;  // the top row for a positive sample, the bottom row for a negative one
  };
  const Case cases[] = {
      // Voltage to mid pixels from the centre line.
      {268, 467, false, 20000, 2},
      {268, 467, false, -32768, 266},
      {200, 300, false, 1234, 2},
      // Current to mid - H/8: 98.5 rounds to 98 (halves to even), 73 exactly.
      {268, 467, true, -32768, 232},
      {268, 467, true, 32767, 36},
      {200, 300, true, -32768, 173},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.W << " x " << c.H << " sample " << c.sample);
    ChannelBlock block = ZeroBlock();
    int16_t wave[kWaveSamples] = {};
    wave[500] = c.sample;
    wave[200] = static_cast<int16_t>(c.sample / 10);
    const size_t offset =
        c.current ? offsetof(ChannelBlock, CurrentWave) : offsetof(ChannelBlock, VoltageWave);
    std::memcpy(reinterpret_cast<char*>(&block) + offset, wave, sizeof wave);
    const QImage img = Draw(block, c.H, c.W);
    const auto [top, bottom] = RowRange(img, c.current ? kRed : kGreen);
    EXPECT_EQ(c.sample > 0 ? top : bottom, c.extremeRow);
  }
}

TEST(WaveformPlot, NoSampleCountDrawsTheSamplesOnePixelApart) {
  ChannelBlock block = ZeroBlock();
  const int H = 268, W = 700, mid = (H - 4) / 2;
  QImage img = Draw(block, H, W);
  EXPECT_EQ(img.pixelColor(696, mid + 2), kGreen);  // 511 steps of 696 / 512 end at 697
  EXPECT_NE(img.pixelColor(697, mid + 2), kGreen);
  block.WaveSampleCount = 0;
  img = Draw(block, H, W);
  EXPECT_EQ(img.pixelColor(512, mid + 2), kGreen);  // 511 steps of one pixel end at 513
  EXPECT_NE(img.pixelColor(513, mid + 2), kGreen);
}

TEST(WaveformPlot, LegendGivesTheValuesPerDivision) {
  struct Case {
    float frequency, voltageTrms, voltagePeak, currentTrms, currentPeak;
    const char* text;
  };
  const Case cases[] = {
      {0, 0, 0, 0, 0, "SEC/DIV:8ms   Vol/DIV:50V   Amp/DIV:1A   Trigger Source:Vol"},
      {50, 230, 325.27f, 5, 7.25f,
       "SEC/DIV:8ms   Vol/DIV:81.32V   Amp/DIV:2.42A   Trigger Source:Vol"},
      {60, 1, 0, 1, 3, "SEC/DIV:6.67ms   Vol/DIV:0V   Amp/DIV:1A   Trigger Source:Vol"},
      {49.987f, -1, 400, 0, 9, "SEC/DIV:8ms   Vol/DIV:50V   Amp/DIV:1A   Trigger Source:Vol"},
      {-50, 1, std::numeric_limits<float>::quiet_NaN(), 1, std::numeric_limits<float>::infinity(),
       "SEC/DIV:8ms   Vol/DIV:NaNV   Amp/DIV:InfA   Trigger Source:Vol"},
  };
  for (const Case& c : cases) {
    ChannelBlock block = ZeroBlock();
    block.Frequency = c.frequency;
    block.VoltageTrms = c.voltageTrms;
    block.VoltagePeak = c.voltagePeak;
    block.CurrentTrms = c.currentTrms;
    block.CurrentPeak = c.currentPeak;
    EXPECT_EQ(WaveformLegendText(block).toStdString(), c.text);
  }
}

TEST(WaveformPlot, LegendIsWrittenInItsColourAtTheFootOfThePlot) {
  const int H = 268, W = 467;
  const QImage img = Draw(ZeroBlock(), H, W);
  int bluish = 0;
  for (int y = 0; y < img.height(); ++y) {
    for (int x = 0; x < img.width(); ++x) {
      const QColor c = img.pixelColor(x, y);
      if (c.blue() - c.red() < 60) continue;  // only the legend is blue
      ++bluish;
      ASSERT_GE(y, H - 10) << x << "," << y;
      ASSERT_GE(x, 5) << x << "," << y;
    }
  }
  EXPECT_GT(bluish, 100);
}

TEST(WaveformPlot, OutOfRangeSizesAndValuesStayInsideTheImage) {
  ChannelBlock block = ZeroBlock();
  block.Frequency = std::numeric_limits<float>::quiet_NaN();
  block.VoltageTrms = 1;
  block.VoltagePeak = -std::numeric_limits<float>::infinity();
  for (int i = 0; i < kWaveSamples; ++i) block.VoltageWave[i] = (i % 2) ? -32768 : 32767;
  QImage small(100, 60, QImage::Format_RGB32);
  small.fill(Qt::black);
  const PlotSize sizes[] = {{268, 467}, {-2, -2}, {0, 0}, {3, 1}, {100000, 100000}};
  for (const PlotSize& s : sizes) {
    DrawWaveformPlot(small, QRect(0, 0, s.W + 2, s.H + 2), s.H, s.W, kGrid, block, kBack, kRed,
                     kGreen);
  }
  SUCCEED();  // the sanitizers watch every write
}

}  // namespace
