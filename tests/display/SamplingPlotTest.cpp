#include "display/SamplingPlot.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <cmath>
#include <cstring>

#include "display/WaveformPlot.h"

namespace {

const QColor kBack(0, 0, 0);
const QColor kGrid(0, 128, 128);
constexpr int kH = 268, kW = 467;  // the plot of a 978 x 605 page

MeasurementSet ZeroSet() {
  MeasurementSet set;
  std::memset(&set, 0, sizeof set);
  for (ChannelBlock& block : set.Channel) block.WaveSampleCount = kWaveSamples;
  return set;
}

QImage Draw(const MeasurementSet& set, const SignalSelection& shown, int H = kH, int W = kW) {
  QImage image(W + 2, H + 2, QImage::Format_RGB32);
  image.fill(Qt::white);
  DrawSamplingPlot(image, image.rect(), H, W, kGrid, kBack, set, shown);
  return image;
}

QColor Colour(int signal) {
  return kPhaseSignalColours[signal];
}

TEST(SamplingPlot, WithoutTracesItIsTheWaveformGridWithoutLegend) {
  MeasurementSet set = ZeroSet();
  const QImage sampling = Draw(set, {});
  QImage waveform(kW + 2, kH + 2, QImage::Format_RGB32);
  DrawWaveformPlot(waveform, waveform.rect(), kH, kW, kGrid, set.Channel[0], kBack, Qt::red,
                   Qt::green);
  const int traceRow = (kH - 4) / 2 + 2;
  for (int y = 0; y < kH + 2; ++y) {
    if (y == traceRow) continue;
    for (int x = 0; x < kW + 2; ++x) {
      const bool legend = y >= kH - 12;
      if (legend) {
        ASSERT_NE(sampling.pixelColor(x, y), QColor(0, 16, 240)) << x << "," << y;
      } else {
        ASSERT_EQ(sampling.pixel(x, y), waveform.pixel(x, y)) << x << "," << y;
      }
    }
  }
  // The centre line is the dotted grid line there.
  EXPECT_EQ(sampling.pixelColor(2, traceRow), kGrid);
  EXPECT_EQ(sampling.pixelColor(3, traceRow), kBack);
}

TEST(SamplingPlot, FlatTracesStackInTheDrawingOrderIaUaIbUbIcUc) {
  // All samples zero: every ticked trace lies on the centre line, two pixels wide, and the
  // one drawn last shows.
  struct OrderCase {
    SignalSelection shown;
    int top;  // the signal that shows, or -1 for none
  };
  const OrderCase cases[] = {
      {{true, true, true, true, true, true}, kUc},
      {{true, true, false, true, true, true}, kIc},
      {{true, true, false, true, true, false}, kUb},
      {{true, false, false, true, true, false}, kIb},
      {{true, false, false, true, false, false}, kUa},
      {{false, false, false, true, false, false}, kIa},
      {{false, false, false, false, false, false}, -1},
  };
  const int mid = (kH - 4) / 2;
  for (const OrderCase& c : cases) {
    const QImage img = Draw(ZeroSet(), c.shown);
    const QColor expected = c.top < 0 ? kBack : Colour(c.top);
    for (int x : {3, 100, 300, 460}) {
      EXPECT_EQ(img.pixelColor(x, mid + 1), expected) << "top " << c.top << " x " << x;
      if (c.top < 0) continue;
      EXPECT_EQ(img.pixelColor(x, mid + 2), expected) << c.top;
      EXPECT_NE(img.pixelColor(x, mid + 3), expected) << c.top;
    }
  }
}

TEST(SamplingPlot, EachTraceReachesItsOwnRangeAndOnlyTickedTracesAppear) {
  MeasurementSet set = ZeroSet();
  // Channel 2: a voltage peak of 1000 at sample 100, a current peak of -20 at sample 300.
  set.Channel[1].VoltageWave[100] = 1000;
  set.Channel[1].VoltageWave[101] = 500;
  set.Channel[1].CurrentWave[300] = -20;
  SignalSelection shown{};
  shown[kUb] = true;
  shown[kIb] = true;
  const QImage img = Draw(set, shown);
  const int mid = (kH - 4) / 2;
  const float step = static_cast<float>((kW - 4) / 512.0);
  float x = 0;
  for (int i = 0; i < 100; ++i) x += step;
  const int peakX = static_cast<int>(std::nearbyint(x)) + 2;
  // The voltage peak touches the top of the plot (y = 2); the line to it arrives from below.
  EXPECT_EQ(img.pixelColor(peakX, 2), Colour(kUb));
  EXPECT_EQ(img.pixelColor(peakX, 1), kBack);
  // The current's lowest point lies mid - H/8 below the centre line.
  for (int i = 100; i < 300; ++i) x += step;
  const int lowX = static_cast<int>(std::nearbyint(x)) + 2;
  const float scale = static_cast<float>((mid - kH / 8.0) / 20);
  const float scaled = -20 * scale;  // -98.5 give or take the float32 rounding
  const int lowY = mid - static_cast<int>(std::nearbyint(scaled)) + 2;
  EXPECT_TRUE(lowY == mid + 98 + 2 || lowY == mid + 99 + 2) << lowY;
  EXPECT_EQ(img.pixelColor(lowX, lowY), Colour(kIb));
  EXPECT_NE(img.pixelColor(lowX, lowY + 1), Colour(kIb));
  // No other signal's colour anywhere.
  for (int yy = 0; yy < img.height(); ++yy) {
    for (int xx = 0; xx < img.width(); ++xx) {
      const QColor c = img.pixelColor(xx, yy);
      for (int s : {kUa, kUc, kIa, kIc}) ASSERT_NE(c, Colour(s)) << xx << "," << yy;
    }
  }
}

TEST(SamplingPlot, NoSampleCountSpacesSamplesOnePixelApart) {
  MeasurementSet set = ZeroSet();
  set.Channel[0].WaveSampleCount = 0;
  set.Channel[0].VoltageWave[200] = 7;  // the only sample: the peak, at x = 202
  SignalSelection shown{};
  shown[kUa] = true;
  const QImage img = Draw(set, shown, kH, 600);  // wide enough for 512 pixels
  EXPECT_EQ(img.pixelColor(202, 2), Colour(kUa));
  // The trace ends at sample 511, x = 513 at most (covered up to but not including it).
  const int mid = (kH - 4) / 2;
  EXPECT_EQ(img.pixelColor(512, mid + 2), Colour(kUa));
  EXPECT_NE(img.pixelColor(514, mid + 2), Colour(kUa));
}

TEST(SamplingPlot, ExtremeSizesAndSamplesStayInsideTheImage) {
  MeasurementSet set = ZeroSet();
  set.Channel[2].CurrentWave[0] = -32768;
  set.Channel[2].VoltageWave[511] = 32767;
  const SignalSelection all{true, true, true, true, true, true};
  for (const QSize size : {QSize(0, 0), QSize(-50, -10), QSize(3, 3), QSize(2000, 1500)}) {
    QImage image(100, 80, QImage::Format_RGB32);
    image.fill(Qt::white);
    DrawSamplingPlot(image, QRect(0, 0, size.width(), size.height()), size.height(), size.width(),
                     kGrid, kBack, set, all);
    SUCCEED();
  }
}

}  // namespace
