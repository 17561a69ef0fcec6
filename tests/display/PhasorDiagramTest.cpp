#include "display/PhasorDiagram.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <set>

#include "display/PlotDrawing.h"

namespace {

const QColor kBack(0, 0, 0);
const QColor kGrid(0, 128, 128);
// A 978 x 605 page: plot 467 x 268, so cx = 233, cy = 134, R = 129, L = 258.
constexpr int kH = 268, kW = 467;
constexpr int kCx = 233, kCy = 134, kR = 129;
const SignalSelection kAll{true, true, true, true, true, true};

MeasurementSet ZeroSet() {
  MeasurementSet set;
  std::memset(&set, 0, sizeof set);
  return set;
}

QImage Draw(const MeasurementSet& set, const SignalSelection& shown) {
  QImage image(kW + 2, kH + 2, QImage::Format_RGB32);
  image.fill(Qt::white);
  DrawPhasorDiagram(image, image.rect(), kH, kW, kGrid, kBack, set, shown);
  return image;
}

QColor Colour(int signal) {
  return kPhaseSignalColours[signal];
}

// The colours used anywhere in a region.
std::set<QRgb> ColoursIn(const QImage& img, const QRect& region) {
  std::set<QRgb> colours;
  const QRect r = region.intersected(img.rect());
  for (int y = r.top(); y <= r.bottom(); ++y) {
    for (int x = r.left(); x <= r.right(); ++x) colours.insert(img.pixel(x, y));
  }
  return colours;
}

// `text` written alone at `topLeft` in the plot font and grid colour on the background.
QImage TextAlone(const QString& text, QPoint topLeft) {
  QImage image(kW + 2, kH + 2, QImage::Format_RGB32);
  image.fill(kBack);
  QPainter painter(&image);
  painter.setFont(PlotTextFont());
  painter.setPen(kGrid);
  DrawPlotText(painter, topLeft, text);
  return image;
}

bool SameRegion(const QImage& a, const QImage& b, const QRect& region) {
  for (int y = region.top(); y <= region.bottom(); ++y) {
    for (int x = region.left(); x <= region.right(); ++x) {
      if (a.pixel(x, y) != b.pixel(x, y)) return false;
    }
  }
  return true;
}

TEST(PhasorDiagram, ScalesAndCirclesSitWhereTheFormulasPutThem) {
  const QImage img = Draw(ZeroSet(), kAll);
  struct PixelCase {
    int x, y;
    bool grid;
    const char* what;
  };
  const PixelCase cases[] = {
      {kCx - 4, 56, true, "even vertical tick, i = 2, left end"},
      {kCx + 3, 56, true, "even vertical tick, last pixel"},
      {kCx + 4, 56, false, "even vertical tick stops before cx + 4"},
      {kCx - 5, 56, false, "even vertical tick starts at cx - 4"},
      {kCx - 2, 30, true, "odd vertical tick, i = 1, y = 30"},
      {kCx + 2, 30, true, "odd vertical tick, last pixel"},
      {kCx - 3, 30, false, "odd vertical tick is short"},
      {kCx + 3, 30, false, "odd vertical tick ends before cx + 3"},
      {kCx, 31, true, "inner circle, top: R - rnd(0.2 R) = 103"},
      {kCx, 32, true, "dotted vertical axis, even row"},
      {kCx, 33, false, "dotted vertical axis, odd row, inside the inner circle"},
      {kCx - 134, kCy, true, "dotted horizontal axis starts at cx - L div 2 - 5"},
      {kCx - 135, kCy, false, "nothing before the horizontal axis"},
      {kCx - 133, kCy, false, "dotted horizontal axis, gap"},
      {kCx + 136, kCy, true, "dotted horizontal axis, last dot before cx + L div 2 + 8"},
      {155, kCy - 4, true, "even horizontal tick, j = 2, x = 51 + 104"},
      {155, kCy + 3, true, "even horizontal tick, last pixel"},
      {155, kCy + 4, false, "even horizontal tick ends before cy + 4"},
      {155, kCy - 5, false, "even horizontal tick starts at cy - 4"},
      {129, kCy - 2, true, "odd horizontal tick, j = 1, x = 25 + 104"},
      {129, kCy + 3, true, "odd horizontal tick, last pixel"},
      {129, kCy - 3, false, "odd horizontal tick starts at cy - 2"},
      {129, kCy + 4, false, "odd horizontal tick ends before cy + 4"},
  };
  for (const PixelCase& c : cases) {
    const QColor colour = img.pixelColor(c.x, c.y);
    if (c.grid) {
      EXPECT_EQ(colour, kGrid) << c.what;
    } else {
      EXPECT_EQ(colour, kBack) << c.what;
    }
  }
  // Every pixel of the two circles, radius R and R - 26 around the centre.
  for (int radius : {kR, kR - 26}) {
    QImage circle(kW + 2, kH + 2, QImage::Format_RGB32);
    circle.fill(kBack);
    DrawPlotCircle(circle, QPoint(kCx, kCy), radius, kGrid.rgb());
    for (int y = 0; y < circle.height(); ++y) {
      for (int x = 0; x < circle.width(); ++x) {
        if (circle.pixelColor(x, y) != kGrid) continue;
        ASSERT_EQ(img.pixelColor(x, y), kGrid) << x << "," << y;
      }
    }
  }
}

TEST(PhasorDiagram, CirclesCoverTheirBoxAndStayWithinHalfAPixelOfTheRadius) {
  for (int radius : {0, 1, 5, 103, 129}) {
    QImage img(300, 300, QImage::Format_RGB32);
    img.fill(kBack);
    DrawPlotCircle(img, QPoint(150, 150), radius, kGrid.rgb());
    int minX = 300, maxX = -1, minY = 300, maxY = -1;
    for (int y = 0; y < 300; ++y) {
      for (int x = 0; x < 300; ++x) {
        if (img.pixelColor(x, y) != kGrid) continue;
        minX = std::min(minX, x), maxX = std::max(maxX, x);
        minY = std::min(minY, y), maxY = std::max(maxY, y);
        const double d = std::hypot(x - 150, y - 150);
        ASSERT_LT(std::fabs(d - radius), 0.75) << radius << ": " << x << "," << y;
      }
    }
    // The box from centre - radius to centre + radius + 1, the far edges not covered.
    EXPECT_EQ(
        QRect(QPoint(minX, minY), QPoint(maxX + 1, maxY + 1)),
        QRect(QPoint(150 - radius, 150 - radius), QPoint(150 + radius + 1, 150 + radius + 1)));
    EXPECT_EQ(img.pixelColor(150, 150), radius == 0 ? kGrid : kBack);
  }
  // Partly outside the image: only the inside is written.
  QImage small(20, 20, QImage::Format_RGB32);
  small.fill(kBack);
  DrawPlotCircle(small, QPoint(0, 0), 10, kGrid.rgb());
  EXPECT_EQ(small.pixelColor(10, 0), kGrid);
  DrawPlotCircle(small, QPoint(-1000000, 5), 3, kGrid.rgb());
}

TEST(PhasorDiagram, ZeroPeaksGiveOnlyScalesCirclesAndTexts) {
  const QImage img = Draw(ZeroSet(), kAll);
  for (QRgb c : ColoursIn(img, img.rect())) {
    for (int s = 0; s < kPhaseSignalCount; ++s) ASSERT_NE(c, Colour(s).rgb()) << s;
  }
  EXPECT_EQ(PhasorMagnitudeText(kUa, 0).toStdString(), "Ua：0 V");
  EXPECT_EQ(PhasorMagnitudeText(kIc, 0).toStdString(), "I c：0 A");
  EXPECT_EQ(PhasorAngleText(0).toStdString(), "0 deg");
  EXPECT_EQ(PhasorFrequencyText(ZeroSet().Channel[0]).toStdString(), "Ua Frequency：0 Hz");
  EXPECT_EQ(PhasorTriggerText(ZeroSet().Channel[0]).toStdString(), "TRIG: Zero Crossing");
  // Each signal's two texts appear on the left, one block of 32 pixels per signal.
  for (int s = 0; s < kPhaseSignalCount; ++s) {
    const QImage alone = TextAlone(PhasorMagnitudeText(s, 0), QPoint(5, 5 + 32 * s));
    EXPECT_TRUE(SameRegion(img, alone, QRect(0, 5 + 32 * s, 60, 14))) << s;
    const QImage angle = TextAlone("0 deg", QPoint(31, 20 + 32 * s));
    EXPECT_TRUE(SameRegion(img, angle, QRect(0, 20 + 32 * s, 60, 12))) << s;
  }
}

TEST(PhasorDiagram, TheTextsOfTheTopRightFollowFrequencyAndTrigger) {
  struct TextCase {
    float frequency;
    uint8_t trigger;
    const char* frequencyText;
    const char* triggerText;
  };
  const TextCase cases[] = {
      {49.987f, 0, "Ua Frequency：49.99 Hz", "TRIG: Zero Crossing"},
      {60.0f, 1, "Ua Frequency：60 Hz", "TRIG: Fundamental"},
      {50.125f, 255, "Ua Frequency：50.12 Hz", "TRIG: Fundamental"},
  };
  for (const TextCase& c : cases) {
    MeasurementSet set = ZeroSet();
    set.Channel[0].Frequency = c.frequency;
    set.Channel[0].TriggerMode = c.trigger;
    set.Channel[1].TriggerMode = c.trigger == 0 ? 1 : 0;  // only channel 1 counts
    EXPECT_EQ(PhasorFrequencyText(set.Channel[0]).toStdString(), c.frequencyText);
    EXPECT_EQ(PhasorTriggerText(set.Channel[0]).toStdString(), c.triggerText);
    const QImage img = Draw(set, {});
    const QRect region(kW - 130, 0, 132, 56);
    QImage expected(kW + 2, kH + 2, QImage::Format_RGB32);
    expected.fill(kBack);
    {
      QPainter painter(&expected);
      painter.setFont(PlotTextFont());
      painter.setPen(kGrid);
      DrawPlotText(painter, QPoint(kW - 125, 5), QString::fromUtf8("0 Deg Ref：Ua"));
      DrawPlotText(painter, QPoint(kW - 125, 22), QString::fromUtf8(c.frequencyText));
      DrawPlotText(painter, QPoint(kW - 125, 39), QString::fromUtf8(c.triggerText));
    }
    EXPECT_TRUE(SameRegion(img, expected, region)) << c.triggerText;
  }
}

struct PhasorCase {
  const char* what;
  int signal;
  float peak, phase;
  float largest;  // another channel's peak of the same kind, setting the scale
  QPoint tip;
  bool head;
  QPoint head1, head2;  // ends of the two head lines (not covered)
};

// Tips and heads worked out by hand from the formulas for R = 129.
const PhasorCase kPhasors[] = {
    {"voltage at 30 deg, largest", kUa, 100, 30, 0, {345, 70}, true, {337, 79}, {333, 72}},
    {"current at -90 deg, 0.8 R", kIb, 10, -90, 0, {233, 237}, true, {229, 226}, {237, 226}},
    {"voltage at 150 deg", kUc, 50, 150, 100, {178, 102}, true, {190, 104}, {186, 111}},
    {"exactly 12 pixels: no head", kUb, 12, 45, 129, {241, 126}, false, {}, {}},
    {"12.5 pixels: head", kUb, 12.5f, 45, 129, {241, 126}, true, {236, 137}, {230, 131}},
};

TEST(PhasorDiagram, PhasorTipsAndArrowHeadsLandOnTheComputedPixels) {
  for (const PhasorCase& c : kPhasors) {
    SCOPED_TRACE(c.what);
    MeasurementSet set = ZeroSet();
    const int channel = SignalChannel(c.signal);
    const bool current = IsCurrentSignal(c.signal);
    ChannelBlock& block = set.Channel[channel];
    ChannelBlock& other = set.Channel[(channel + 1) % 3];
    if (current) {
      block.CurrentPeak = c.peak;
      block.CurrentPhase = c.phase;
      other.CurrentPeak = c.largest;
    } else {
      block.VoltagePeak = c.peak;
      block.VoltagePhase = c.phase;
      other.VoltagePeak = c.largest;
    }
    SignalSelection shown{};
    shown[c.signal] = true;
    const QImage img = Draw(set, shown);
    const QColor colour = Colour(c.signal);
    // The shaft covers the centre; the tip is covered only by the head lines.
    EXPECT_EQ(img.pixelColor(kCx, kCy), colour);
    EXPECT_EQ(img.pixelColor(c.tip), c.head ? colour : kBack);
    if (c.head) {
      for (const QPoint end : {c.head1, c.head2}) {
        // A head line stops just before its end point.
        EXPECT_NE(img.pixelColor(end), colour) << end.x() << "," << end.y();
        int around = 0;
        for (int dy = -1; dy <= 1; ++dy) {
          for (int dx = -1; dx <= 1; ++dx) around += img.pixelColor(end + QPoint(dx, dy)) == colour;
        }
        EXPECT_GE(around, 1) << end.x() << "," << end.y();
      }
    }
    // The other channel's phasor of the same kind is not shown: nothing else in colour.
    int coloured = 0;
    for (int y = 0; y < img.height(); ++y) {
      for (int x = 0; x < img.width(); ++x) coloured += img.pixelColor(x, y) == colour;
    }
    EXPECT_GT(coloured, 0);
    EXPECT_LT(coloured, 2 * 140 + 30);
  }
}

TEST(PhasorDiagram, UnshownSignalsDrawNeitherPhasorNorTexts) {
  MeasurementSet set = ZeroSet();
  set.Channel[0].VoltagePeak = 100;
  set.Channel[0].CurrentPeak = 5;
  SignalSelection shown{};
  shown[kIa] = true;
  const QImage img = Draw(set, shown);
  const auto colours = ColoursIn(img, img.rect());
  EXPECT_EQ(colours.count(Colour(kUa).rgb()), 0u);
  EXPECT_EQ(colours.count(Colour(kIa).rgb()), 1u);
  // Ua's text block stays empty; Ia's (s = 3) is written.
  EXPECT_EQ(ColoursIn(img, QRect(5, 5, 50, 26)), std::set<QRgb>{kBack.rgb()});
  EXPECT_GT(ColoursIn(img, QRect(5, 5 + 96, 50, 26)).size(), 1u);
}

TEST(PhasorDiagram, ValuesThatAreNotNumbersOrSizesOutOfRangeStayInsideTheImage) {
  MeasurementSet set = ZeroSet();
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  set.Channel[0].VoltagePeak = inf;
  set.Channel[0].VoltagePhase = nan;
  set.Channel[1].VoltagePeak = 3e38f;
  set.Channel[1].VoltagePhase = 1e30f;
  set.Channel[2].CurrentPeak = nan;
  set.Channel[0].CurrentPeak = -5;
  set.Channel[1].CurrentPeak = 1e-40f;
  set.Channel[1].CurrentPhase = 45;
  set.Channel[0].Frequency = nan;
  // A NaN phase has no direction: that phasor is left out instead of pointing at a corner.
  const QImage img = Draw(set, kAll);
  EXPECT_NE(img.pixelColor(1, 1), Colour(kUa));
  for (const QSize size : {QSize(0, 0), QSize(-40, -40), QSize(12, 9), QSize(3000, 2000)}) {
    QImage image(120, 90, QImage::Format_RGB32);
    DrawPhasorDiagram(image, QRect(QPoint(0, 0), size), size.height(), size.width(), kGrid, kBack,
                      set, kAll);
  }
  EXPECT_EQ(PhasorMagnitudeText(kUa, inf).toStdString(), "Ua：Inf V");
  EXPECT_EQ(PhasorAngleText(nan).toStdString(), "NaN deg");
}

}  // namespace
