#include "sim/SignalAnalysis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "sim/HarmonicWeights.h"

namespace {

constexpr double kPi = std::numbers::pi;

struct Component {
  int order;
  double rms;
  double phaseDeg;
};

// 512 samples over four periods of a sum of harmonics, plus a DC part.
std::vector<double> Record(std::vector<Component> parts, double dc = 0, double startDeg = 0) {
  std::vector<double> x(512);
  for (size_t k = 0; k < x.size(); ++k) {
    const double angle = 2 * kPi * 4 * static_cast<double>(k) / 512 + startDeg * kPi / 180;
    double value = dc;
    for (const Component& c : parts)
      value += std::numbers::sqrt2 * c.rms * std::sin(c.order * angle + c.phaseDeg * kPi / 180);
    x[k] = value;
  }
  return x;
}

struct ShapeCase {
  const char* name;
  std::vector<Component> parts;
  double crest, form, thdF, thdR, kFactor, ffcr;
};

const double kSineForm = kPi / (2 * std::numbers::sqrt2);

class SignalShape : public ::testing::TestWithParam<ShapeCase> {};

TEST_P(SignalShape, FactorsAndDistortionMatchTheirDefinitions) {
  const ShapeCase& c = GetParam();
  // A start angle off the sample grid, so the peak falls between samples.
  const SignalQuantities q = AnalyseSignal(Record(c.parts, 0, 1.3), 50);
  if (c.crest > 0) {
    EXPECT_NEAR(q.CrestFactor, c.crest, 2e-3);
  }
  if (c.form > 0) {
    EXPECT_NEAR(q.FormFactor, c.form, 1e-3);
  }
  EXPECT_NEAR(q.ThdF, c.thdF, 1e-6);
  EXPECT_NEAR(q.ThdR, c.thdR, 1e-6);
  EXPECT_NEAR(q.KFactor, c.kFactor, 1e-6);
  EXPECT_NEAR(q.Ffcr, c.ffcr, 1e-6);
  EXPECT_NEAR(q.ThdR, q.ThdF / std::sqrt(1 + q.ThdF * q.ThdF), 1e-9);
}

// Third 30 % and fifth 20 %: THD-F sqrt(0.13), K (1 + 9 0.09 + 25 0.04) / 1.13.
INSTANTIATE_TEST_SUITE_P(
    Table, SignalShape,
    ::testing::Values(ShapeCase{"sine", {{1, 230, 0}}, std::numbers::sqrt2, kSineForm, 0, 0, 1, 1},
                      ShapeCase{"third_and_fifth",
                                {{1, 100, 0}, {3, 30, 0}, {5, 20, 0}},
                                0,
                                0,
                                std::sqrt(0.13),
                                std::sqrt(0.13 / 1.13),
                                2.81 / 1.13,
                                1 / std::sqrt(1.13)},
                      ShapeCase{"seventh_only_counts_from_order_two",
                                {{1, 10, 0}, {7, 1, 45}},
                                0,
                                0,
                                0.1,
                                0.1 / std::sqrt(1.01),
                                (1 + 49 * 0.01) / 1.01,
                                1 / std::sqrt(1.01)}),
    [](const auto& info) { return info.param.name; });

TEST(SignalAnalysis, LevelsOfASineWithOffset) {
  const std::vector<double> x = Record({{1, 10, 0}}, 2.0);
  EXPECT_NEAR(Mean(x), 2.0, 1e-9);
  EXPECT_NEAR(Rms(x), std::sqrt(100 + 4), 1e-9);
  EXPECT_NEAR(PeakMagnitude(x), 2 + 10 * std::numbers::sqrt2, 1e-9);
  EXPECT_NEAR(PeakToPeak(x), 20 * std::numbers::sqrt2, 1e-9);
  const HarmonicSpectrum h = Magnitudes(AllHarmonicPhasors(x, kRecordPeriods));
  EXPECT_NEAR(h[0], 2.0, 1e-9);
  EXPECT_NEAR(h[1], 10.0, 1e-9);
  EXPECT_NEAR(h[2], 0.0, 1e-9);
}

TEST(SignalAnalysis, HarmonicPhasorKeepsRelativeAngles) {
  const std::vector<double> a = Record({{1, 1, 0}});
  const std::vector<double> b = Record({{1, 1, -120}});
  const double relative = std::arg(HarmonicPhasor(b, 1, 4) / HarmonicPhasor(a, 1, 4)) * 180 / kPi;
  EXPECT_NEAR(relative, -120, 1e-9);
}

TEST(SignalAnalysis, ZeroSignalGivesZeroRatios) {
  const std::vector<double> x(512, 0.0);
  const SignalQuantities q = AnalyseSignal(x, 50);
  EXPECT_EQ(q.CrestFactor, 0);
  EXPECT_EQ(q.FormFactor, 0);
  EXPECT_EQ(q.ThdF, 0);
  EXPECT_EQ(q.KFactor, 0);
  EXPECT_EQ(q.Tif, 0);
  EXPECT_EQ(RecordFrequency(x, 6400), 0);
}

struct WeightCase {
  double hz, tif, psophometric;
};

// Table points, interpolation between them and the clamped ends.
TEST(HarmonicWeights, TablePointsAndInterpolation) {
  const WeightCase cases[] = {
      {60, 0.5, 7.08e-4 + (0.00891 - 7.08e-4) * 0.2},
      {300, 225, 0.295},
      {250, 30 + 195.0 * 70 / 120, 0.0891 + (0.295 - 0.0891) * 0.5},
      {800, 3360 + 990.0 * 20 / 120, 1.0},
      {2100, 8830, 0.708 + (0.617 - 0.708) * 0.2},
      {10, 0.5, 7.08e-4},
      {9000, 9670, 0.0158},
  };
  for (const WeightCase& c : cases) {
    EXPECT_NEAR(TifWeight(c.hz), c.tif, 1e-9) << c.hz;
    EXPECT_NEAR(PsophometricWeight(c.hz), c.psophometric, 1e-12) << c.hz;
  }
}

TEST(SignalAnalysis, TelephoneFactorsWeighTheHarmonics) {
  // 60 Hz: fundamental weight 0.5, fifth 225; THF with the psophometric weights.
  const SignalQuantities sine = AnalyseSignal(Record({{1, 100, 0}}), 60);
  EXPECT_NEAR(sine.Tif, 0.5, 1e-9);
  const SignalQuantities mix = AnalyseSignal(Record({{1, 100, 0}, {5, 10, 0}}), 60);
  EXPECT_NEAR(mix.Tif, std::hypot(0.5 * 100, 225 * 10) / std::sqrt(100 * 100 + 10 * 10), 1e-9);
  EXPECT_NEAR(mix.Thf, std::hypot(PsophometricWeight(60) * 100, 0.295 * 10) / std::sqrt(10100.0),
              1e-9);
}

TEST(SignalAnalysis, FrequencyFromAnOffGridRecord) {
  // Sampled at 128 points a period of 50 Hz, the signal runs at 50.3 Hz and carries a
  // strong fifth; the estimate stays within a few mHz.
  std::vector<double> x(512);
  const double rate = 128 * 50.0;
  for (size_t k = 0; k < x.size(); ++k) {
    const double angle = 2 * kPi * 50.3 * static_cast<double>(k) / rate;
    x[k] = std::sin(angle + 0.4) + 0.2 * std::sin(5 * angle);
  }
  EXPECT_NEAR(RecordFrequency(x, rate), 50.3, 0.01);
}

}  // namespace
