#include "display/ShowMeasuredValue.h"
#include "display/ValueFormat.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <cmath>
#include <limits>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kFloatMax = std::numeric_limits<float>::max();

enum Kind { kMeasured, kCounter };

struct FormatCase {
  Kind kind;
  double value;  // narrowed to float32 for measured values
  const char* unit;
  int width;  // ignored for counters (always 9)
  float scale, divisor;
  const char* caption;
};

const FormatCase kCases[] = {
    // The worked examples.
    {kMeasured, 230.4567, " V", 6, 1000, 1000, "230.45 V"},
    {kMeasured, 0, " V", 6, 1000, 1000, "0.0 V"},
    {kMeasured, -12.3456, " V", 6, 1000, 1000, "-12.34 V"},
    {kMeasured, 1234.5, " V", 6, 1000, 1000, "1.235 K V"},
    {kMeasured, 1000, " V", 6, 1000, 1000, "1000.0 V"},
    {kMeasured, -1500, " V", 6, 1000, 1000, "-1500. V"},
    {kMeasured, 2500000, " W", 6, 1000, 1000, "2500.0 K W"},
    {kMeasured, 0.0234, " %", 5, 1000, 10, "2.3 %"},
    {kMeasured, 123.45, " deg", 6, 10, 10, "123.4 deg"},
    {kMeasured, -123.45, " deg", 5, 10, 10, "-123. deg"},
    {kMeasured, 0.0015, " A", 6, 1000, 1000, "0.002 A"},
    {kCounter, 12345.678, " ", 9, 1000, 1000, "12345.678 "},
    // The thousands step: strictly above 1000, once, never for negatives.
    {kMeasured, 999.9996, " V", 6, 1000, 1000, "1000.0 V"},
    {kMeasured, 1000.5, " V", 6, 1000, 1000, "1.0 K V"},
    {kMeasured, 1.5e9, " W", 6, 1000, 1000, "150000 K W"},
    {kMeasured, 1234, "V", 6, 1000, 1000, "1.234 KV"},
    {kCounter, 1234.5, " ", 9, 1000, 1000, "1234.5 "},
    // Exact binary halves round to the even neighbour.
    {kMeasured, 0.0625, " V", 6, 1000, 1000, "0.062 V"},
    {kMeasured, 0.1875, " V", 6, 1000, 1000, "0.188 V"},
    {kMeasured, 0.25, " deg", 5, 10, 10, "0.2 deg"},
    {kMeasured, 0.75, " deg", 5, 10, 10, "0.8 deg"},
    {kMeasured, 0.5, "%", 6, 1000, 10, "50.0%"},
    // Width cuts, including one that leaves a trailing period.
    {kMeasured, 651.9, " V", 6, 1000, 1000, "651.9 V"},
    {kMeasured, 12345.678, " W", 5, 1000, 1000, "12.34 K W"},
    {kMeasured, -999.5, " V", 5, 1000, 1000, "-999. V"},
    {kCounter, 1e7, " ", 9, 1000, 1000, "10000000. "},
    {kCounter, 999999.87, " ", 9, 1000, 1000, "999999.87 "},
    // Nothing rounds to a negative zero; denormals are zero.
    {kMeasured, -0.0, " V", 6, 1000, 1000, "0.0 V"},
    {kMeasured, -0.0004, " V", 6, 1000, 1000, "0.0 V"},
    {kMeasured, 1e-45, " V", 6, 1000, 1000, "0.0 V"},
    {kMeasured, -1e-45, " A", 6, 1000, 1000, "0.0 A"},
    {kCounter, -1e-300, " ", 9, 1000, 1000, "0.0 "},
    // Magnitudes beyond any integer type keep their exponent through the cut.
    {kMeasured, 1e30, " V", 6, 1000, 1000, "9.9E26 K V"},
    {kMeasured, -1e30, " V", 6, 1000, 1000, "-1E30 V"},
    {kMeasured, kFloatMax, " W", 6, 1000, 1000, "3.4E35 K W"},
    {kMeasured, -kFloatMax, " W", 6, 1000, 1000, "-3E38 W"},
    {kMeasured, 2e18, " %", 6, 1000, 10, "1.9E17 K %"},
    {kCounter, kFloatMax, " ", 9, 1000, 1000, "3.4028E38 "},
    // Values that are not numbers say so, with their unit.
    {kMeasured, kNaN, " V", 6, 1000, 1000, "NaN V"},
    {kMeasured, kInf, " W", 6, 1000, 1000, "Inf W"},
    {kMeasured, -kInf, " deg", 5, 10, 10, "-Inf deg"},
    {kCounter, kNaN, " ", 9, 1000, 1000, "NaN "},
    {kCounter, 1e300, " ", 9, 1000, 1000, "Inf "},
    {kCounter, -std::numeric_limits<double>::max(), " ", 9, 1000, 1000, "-Inf "},
};

TEST(ValueFormat, CaptionsFollowTheRoundingScalingAndWidthRule) {
  for (const FormatCase& c : kCases) {
    const QString caption =
        c.kind == kMeasured
            ? MeasuredValueText(c.unit, c.width, c.scale, c.divisor, static_cast<float>(c.value))
            : CounterValueText(c.unit, c.scale, c.divisor, c.value);
    EXPECT_EQ(caption.toStdString(), c.caption) << "value " << c.value << " width " << c.width;
  }
}

TEST(ValueFormat, GeneralTextHasFifteenDigitsNoTrailingZerosAndAPeriod) {
  struct Case {
    long double x;
    const char* text;
  };
  const Case cases[] = {
      {0.0L, "0"},
      {8.0L, "8"},
      {6.67L, "6.67"},
      {-0.5L, "-0.5"},
      {1.0L / 3, "0.333333333333333"},
      {123456789012345.0L, "123456789012345"},
      {999999999999999.9L, "1E15"},
      {1.5e15L, "1.5E15"},
      {0.00001L, "0.00001"},
      {0.000001L, "1E-6"},
      {-2.5e-7L, "-2.5E-7"},
      {230456.0L / 1000, "230.456"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(GeneralText(c.x).toStdString(), c.text) << static_cast<double>(c.x);
  }
}

TEST(ValueFormat, ShowRoutinesSetTheLabelCaption) {
  QLabel label("old");
  ShowMeasuredValue(&label, " Hz", 6, 1000, 1000, 49.987f);
  EXPECT_EQ(label.text(), "49.987 Hz");
  ShowCounterValue(&label, " ", 1000, 1000, 123.125);
  EXPECT_EQ(label.text(), "123.125 ");
}

}  // namespace
