#include "display/PlotDrawing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

constexpr QRgb kBack = 0xff000000;
constexpr QRgb kInk = 0xffff0000;

QImage Blank(int w = 20, int h = 12) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(kBack);
  return image;
}

std::vector<QPoint> Inked(const QImage& image) {
  std::vector<QPoint> points;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixel(x, y) == kInk) points.emplace_back(x, y);
    }
  }
  return points;
}

std::vector<QPoint> Line(QPoint a, QPoint b, PlotPen pen = PlotPen::kSolid, int width = 1) {
  QImage image = Blank();
  DrawPlotLine(image, a, b, kInk, pen, width);
  return Inked(image);
}

using Points = std::vector<QPoint>;

TEST(PlotLine, CoversTheStartPointButNotTheEndPoint) {
  EXPECT_EQ(Line({2, 3}, {6, 3}), (Points{{2, 3}, {3, 3}, {4, 3}, {5, 3}}));
  EXPECT_EQ(Line({6, 3}, {2, 3}), (Points{{3, 3}, {4, 3}, {5, 3}, {6, 3}}));
  EXPECT_EQ(Line({4, 1}, {4, 4}), (Points{{4, 1}, {4, 2}, {4, 3}}));
  EXPECT_EQ(Line({1, 1}, {4, 4}), (Points{{1, 1}, {2, 2}, {3, 3}}));
  // A shallow line steps once, halfway; its end point (7, 2) stays blank.
  EXPECT_EQ(Line({1, 1}, {7, 2}), (Points{{1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 2}, {6, 2}}));
  EXPECT_TRUE(Line({5, 5}, {5, 5}).empty());
}

TEST(PlotLine, DottedStartsOnTheStartPointAndWidthTwoAddsThePixelsBefore) {
  EXPECT_EQ(Line({1, 2}, {7, 2}, PlotPen::kDotted), (Points{{1, 2}, {3, 2}, {5, 2}}));
  EXPECT_EQ(Line({3, 7}, {3, 1}, PlotPen::kDotted), (Points{{3, 3}, {3, 5}, {3, 7}}));
  EXPECT_EQ(Line({2, 5}, {5, 5}, PlotPen::kSolid, 2),
            (Points{{2, 4}, {3, 4}, {4, 4}, {2, 5}, {3, 5}, {4, 5}}));
}

TEST(PlotLine, FarAwayPointsAreClippedToTheImage) {
  const int far = 2000000000;
  Points row;
  for (int x = 0; x < 20; ++x) row.emplace_back(x, 6);
  EXPECT_EQ(Line({-far, 6}, {far, 6}), row);
  EXPECT_EQ(Line({3, far}, {3, -far}).size(), 12u);
  EXPECT_TRUE(Line({-far, -far}, {-far + 5, far}).empty());
  EXPECT_TRUE(Line({30, 0}, {40, 11}).empty());
  // A steep line entering from far above passes the pixels of its own slope.
  const Points steep = Line({0, -1000}, {10, 1000});
  ASSERT_EQ(steep.size(), 12u);
  EXPECT_EQ(steep.front(), QPoint(5, 0));
}

TEST(PlotRectangle, CoversLeftAndTopNotRightAndBottom) {
  QImage image = Blank();
  DrawPlotRectangle(image, {6, 8}, {2, 3}, kInk, 0xff00ff00);  // corners in any order
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const bool inside = x >= 2 && x < 6 && y >= 3 && y < 8;
      const bool border = inside && (x == 2 || x == 5 || y == 3 || y == 7);
      const QRgb expected = border ? kInk : inside ? 0xff00ff00 : kBack;
      ASSERT_EQ(image.pixel(x, y), expected) << x << "," << y;
    }
  }
  QImage flat = Blank();
  DrawPlotRectangle(flat, {2, 5}, {4, 5}, kInk, kInk);
  EXPECT_TRUE(Inked(flat).empty());
}

TEST(PlotConversions, RoundHalvesToEvenTruncateTowardsZeroAndSaturate) {
  struct Case {
    double x;
    int rounded, truncated;
  };
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const Case cases[] = {{0.5, 0, 0},
                        {1.5, 2, 1},
                        {2.5, 2, 2},
                        {-0.5, 0, 0},
                        {-1.5, -2, -1},
                        {-2.5, -2, -2},
                        {98.5, 98, 98},
                        {-1.7, -2, -1},
                        {2.4999, 2, 2},
                        {nan, 0, 0},
                        {1e300, 1 << 28, 1 << 28},
                        {-1e300, -(1 << 28), -(1 << 28)}};
  for (const Case& c : cases) {
    EXPECT_EQ(RoundHalfEven(c.x), c.rounded) << c.x;
    EXPECT_EQ(TruncToInt(c.x), c.truncated) << c.x;
  }
}

}  // namespace
