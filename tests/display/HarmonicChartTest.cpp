#include "display/HarmonicChart.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <cstddef>
#include <cstring>
#include <limits>

namespace {

const QColor kBack(0, 0, 0);
const QColor kGrid(239, 239, 0);
const QColor kGreen(0, 128, 0);
const QColor kRed(255, 0, 0);

ChannelBlock ZeroBlock() {
  ChannelBlock block;
  std::memset(&block, 0, sizeof block);
  return block;
}

void SetSpectrum(ChannelBlock& block, HarmonicSignal which, const float (&values)[51]) {
  const size_t offset = which == HarmonicSignal::kVoltage
                            ? offsetof(ChannelBlock, VoltageHarmonics)
                            : offsetof(ChannelBlock, CurrentHarmonics);
  std::memcpy(reinterpret_cast<char*>(&block) + offset, values, sizeof values);
}

QImage Draw(const ChannelBlock& block, int H, int W, HarmonicSignal which) {
  QImage image(W + 2, H + 2, QImage::Format_RGB32);
  image.fill(Qt::white);
  DrawHarmonicChart(image, image.rect(), H, W, kGrid, block, kBack, which);
  return image;
}

int BarX(int n, int W) {
  return static_cast<int>(std::nearbyint(n * (W - 12) / 50.0)) + 2;
}

struct PlotSize {
  int H, W;
};
const PlotSize kSizes[] = {{268, 467}, {150, 330}};

TEST(HarmonicChart, AZeroSpectrumDrawsOnlyTheAxisLevelLinesTicksAndLabels) {
  for (const PlotSize& s : kSizes) {
    SCOPED_TRACE(testing::Message() << s.W << " x " << s.H);
    const QImage img = Draw(ZeroBlock(), s.H, s.W, HarmonicSignal::kVoltage);
    const int B = static_cast<int>((s.H - 4) * 0.9);
    const int Hb = B - 15;
    // The axis, two pixels thick, from x = 2 up to W - 1.
    for (int y : {B - 1, B}) {
      EXPECT_EQ(img.pixelColor(2, y), kGrid);
      EXPECT_EQ(img.pixelColor(s.W - 2, y), kGrid);
      EXPECT_EQ(img.pixelColor(1, y), kBack);
      EXPECT_EQ(img.pixelColor(s.W - 1, y), kBack);
    }
    EXPECT_EQ(img.pixelColor(100, B + 1), kBack);
    // Ten level lines: solid from 3 to 6, then dotted from 7 on to W - 2.
    for (int k = 0; k <= 9; ++k) {
      const int y = static_cast<int>(Hb * k / 10.0) + 15;
      EXPECT_EQ(img.pixelColor(2, y), kBack) << k;
      for (int x = 3; x <= 7; ++x) EXPECT_EQ(img.pixelColor(x, y), kGrid) << k << " x " << x;
      EXPECT_EQ(img.pixelColor(8, y), kBack) << k;
      EXPECT_EQ(img.pixelColor(9, y), kGrid) << k;
      EXPECT_EQ(img.pixelColor(3, y + 1), kBack) << k;
    }
    // Ticks under the labelled orders only, from B - 1 to B + 2.
    for (int n = 0; n <= 50; ++n) {
      const int x = BarX(n, s.W) + 5;
      const bool labelled = n % 5 == 0;
      EXPECT_EQ(img.pixelColor(x, B + 2) == kGrid, labelled) << n;
      EXPECT_EQ(img.pixelColor(x, B + 3), kBack) << n;
    }
    // No bar anywhere; the labels are the only other ink, below the axis or top left.
    int labelPixels = 0;
    for (int y = 0; y < img.height(); ++y) {
      for (int x = 0; x < img.width(); ++x) {
        const QColor c = img.pixelColor(x, y);
        ASSERT_NE(c, kGreen) << x << "," << y;
        if (c == kBack || c == kGrid) continue;
        ++labelPixels;
        ASSERT_TRUE(y >= B + 6 || (y < 15 && x < 40)) << x << "," << y;
      }
    }
    EXPECT_GT(labelPixels, 50);
  }
}

TEST(HarmonicChart, OrderPositionsRoundHalvesToEven) {
  // 455 / 50 per order: order 5 sits at 45.5 -> 46 and order 15 at 136.5 -> 136.
  const QImage img = Draw(ZeroBlock(), 268, 467, HarmonicSignal::kCurrent);
  const int B = static_cast<int>(264 * 0.9);
  EXPECT_EQ(img.pixelColor(46 + 2 + 5, B + 2), kGrid);
  EXPECT_EQ(img.pixelColor(45 + 2 + 5, B + 2), kBack);
  EXPECT_EQ(img.pixelColor(136 + 2 + 5, B + 2), kGrid);
  EXPECT_EQ(img.pixelColor(137 + 2 + 5, B + 2), kBack);
}

TEST(HarmonicChart, TheTallestBarReachesTheHundredPercentLineWhateverItsValue) {
  const float peaks[] = {230.0f, 3.3f, 0.1f, 7.77e20f, 1e-30f, 49.987f};
  const int orders[] = {1, 37, 50};
  for (const PlotSize& s : kSizes) {
    for (float peak : peaks) {
      for (int order : orders) {
        SCOPED_TRACE(testing::Message()
                     << s.W << " x " << s.H << " peak " << peak << " order " << order);
        float values[51] = {};
        values[order] = peak;
        values[3] = peak / 2;
        values[4] = -peak / 32;
        ChannelBlock block = ZeroBlock();
        SetSpectrum(block, HarmonicSignal::kCurrent, values);
        const QImage img = Draw(block, s.H, s.W, HarmonicSignal::kCurrent);
        const int B = static_cast<int>((s.H - 4) * 0.9);
        const int Hb = B - 15;
        const int x = BarX(order, s.W) + 5;
        for (int col : {x, x + 1}) {
          EXPECT_EQ(img.pixelColor(col, 14), kBack);
          EXPECT_EQ(img.pixelColor(col, 15), kRed);
          EXPECT_EQ(img.pixelColor(col, B - 1), kRed);
        }
        EXPECT_NE(img.pixelColor(x + 2, 15), kRed);
        // Half the peak reaches half the bar height; a negative value hangs below the axis.
        const int x3 = BarX(3, s.W) + 5;
        EXPECT_EQ(img.pixelColor(x3, B - Hb / 2), kRed);
        EXPECT_NE(img.pixelColor(x3, B - Hb / 2 - 1), kRed);
        const int x4 = BarX(4, s.W) + 5;
        EXPECT_EQ(img.pixelColor(x4, B), kRed);
        EXPECT_EQ(img.pixelColor(x4, B + Hb / 32 - 1), kRed);
        EXPECT_NE(img.pixelColor(x4, B + Hb / 32), kRed);
      }
    }
  }
}

TEST(HarmonicChart, VoltageBarsAreGreenAndTheOtherArrayIsIgnored) {
  float voltage[51] = {}, current[51] = {};
  voltage[1] = 230;
  current[2] = 5;
  ChannelBlock block = ZeroBlock();
  SetSpectrum(block, HarmonicSignal::kVoltage, voltage);
  SetSpectrum(block, HarmonicSignal::kCurrent, current);
  const QImage img = Draw(block, 268, 467, HarmonicSignal::kVoltage);
  EXPECT_EQ(img.pixelColor(BarX(1, 467) + 5, 15), kGreen);
  EXPECT_EQ(img.pixelColor(BarX(2, 467) + 5, 100), kBack);
}

TEST(HarmonicChart, WithoutAPositiveOrderNegativeValuesHangAtScaleOne) {
  float values[51] = {};
  values[7] = -20.9f;
  ChannelBlock block = ZeroBlock();
  SetSpectrum(block, HarmonicSignal::kVoltage, values);
  const QImage img = Draw(block, 268, 467, HarmonicSignal::kVoltage);
  const int B = static_cast<int>(264 * 0.9);
  const int x = BarX(7, 467) + 5;
  EXPECT_EQ(img.pixelColor(x, B + 19), kGreen);
  EXPECT_NE(img.pixelColor(x, B + 20), kGreen);
}

TEST(HarmonicChart, OutOfRangeValuesAndSizesStayInsideTheImage) {
  float values[51] = {};
  values[0] = std::numeric_limits<float>::quiet_NaN();
  values[1] = std::numeric_limits<float>::infinity();
  values[2] = -std::numeric_limits<float>::infinity();
  values[3] = -std::numeric_limits<float>::max();
  values[4] = std::numeric_limits<float>::denorm_min();
  ChannelBlock block = ZeroBlock();
  SetSpectrum(block, HarmonicSignal::kVoltage, values);
  QImage small(120, 80, QImage::Format_RGB32);
  small.fill(Qt::white);
  const PlotSize sizes[] = {{268, 467}, {-2, -2}, {0, 0}, {5, 13}, {100000, 100000}};
  for (const PlotSize& s : sizes) {
    DrawHarmonicChart(small, QRect(0, 0, s.W + 2, s.H + 2), s.H, s.W, kGrid, block, kBack,
                      HarmonicSignal::kVoltage);
  }
  values[1] = 1;
  SetSpectrum(block, HarmonicSignal::kVoltage, values);
  DrawHarmonicChart(small, small.rect(), 78, 118, kGrid, block, kBack, HarmonicSignal::kVoltage);
  SUCCEED();  // the sanitizers watch every write
}

}  // namespace
