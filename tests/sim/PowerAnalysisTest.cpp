#include "sim/PowerAnalysis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "sim/BlockAnalysis.h"

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kRad = kPi / 180;

// sqrt(2) rms sin(h x + phase) summed, over four periods of 512 samples.
Record Wave(double rms, double angleDeg, double harmonicRatio = 0, int order = 3) {
  Record r;
  for (size_t k = 0; k < r.size(); ++k) {
    const double x = 2 * kPi * 4 * static_cast<double>(k) / 512 + angleDeg * kRad;
    r[k] = std::numbers::sqrt2 * rms * (std::sin(x) + harmonicRatio * std::sin(order * x));
  }
  return r;
}

struct LoadCase {
  const char* name;
  double lagDeg;         // current behind voltage
  double currentRatio3;  // third harmonic in the current
  double reactiveSign;   // 0: no reactive power
};

class ElementPowerTable : public ::testing::TestWithParam<LoadCase> {};

TEST_P(ElementPowerTable, ActiveNeverExceedsApparentAndFactorIsTheirRatio) {
  const LoadCase& c = GetParam();
  const Record v = Wave(230, 0);
  const Record i = Wave(10, -c.lagDeg, c.currentRatio3);
  const SignalQuantities vq = AnalyseSignal(v, 50);
  const SignalQuantities iq = AnalyseSignal(i, 50);
  const ElementPower p = AnalysePower(v, i, vq, iq);
  EXPECT_LE(std::fabs(p.Active), p.Apparent);
  EXPECT_NEAR(p.Factor, p.Active / p.Apparent, 1e-12);
  // The harmonic carries no power against a sine voltage: P = V I1 cos(phi).
  EXPECT_NEAR(p.Active, 230 * 10 * std::cos(c.lagDeg * kRad), 1e-6);
  EXPECT_NEAR(p.Apparent, 230 * 10 * std::sqrt(1 + c.currentRatio3 * c.currentRatio3), 1e-6);
  if (c.reactiveSign == 0) {
    EXPECT_NEAR(p.Reactive, 0, 0.1);
  } else {
    EXPECT_EQ(p.Reactive > 0 ? 1.0 : -1.0, c.reactiveSign);
  }
  EXPECT_NEAR(p.Reactive * p.Reactive + p.Active * p.Active, p.Apparent * p.Apparent, 1e-3);
  EXPECT_NEAR(p.Impedance, vq.Trms / iq.Trms, 1e-12);
  EXPECT_NEAR(p.Budeanu, 230 * 10 * std::sin(c.lagDeg * kRad), 1e-6);
}

INSTANTIATE_TEST_SUITE_P(Table, ElementPowerTable,
                         ::testing::Values(LoadCase{"resistive", 0.0, 0, 0},
                                           LoadCase{"inductive", 30.0, 0, 1},
                                           LoadCase{"capacitive", -30.0, 0, -1},
                                           LoadCase{"generating", 170.0, 0, 1},
                                           LoadCase{"rectifier", -5.0, 0.8, -1}),
                         [](const auto& info) { return info.param.name; });

TEST(PowerAnalysis, PeakPowerOfInPhaseSines) {
  const Record v = Wave(230, 0);
  const Record i = Wave(10, 0);
  const ElementPower p = AnalysePower(v, i, AnalyseSignal(v, 50), AnalyseSignal(i, 50));
  EXPECT_NEAR(p.Peak, 2 * 230 * 10, 1e-6);  // at the sample on the crest
}

struct SequenceCase {
  const char* name;
  std::complex<double> a, b, c;
  double zero, positive, negative;
};

TEST(Fortescue, SequenceComponentsOfKnownSystems) {
  const auto p = [](double magnitude, double deg) { return std::polar(magnitude, deg * kRad); };
  const SequenceCase cases[] = {
      {"balanced", p(230, 0), p(230, -120), p(230, 120), 0, 230, 0},
      {"reversed", p(230, 0), p(230, 120), p(230, -120), 0, 0, 230},
      {"in phase", p(230, 0), p(230, 0), p(230, 0), 230, 0, 0},
      // Phase B 10 % low: V1 = 2.9/3, V2 = V0 = 0.1/3 of the nominal.
      {"one phase low", p(1, 0), p(0.9, -120), p(1, 120), 0.1 / 3, 2.9 / 3, 0.1 / 3},
  };
  for (const SequenceCase& c : cases) {
    const SequenceComponents s = Fortescue(c.a, c.b, c.c);
    EXPECT_NEAR(std::abs(s.Zero), c.zero, 1e-9) << c.name;
    EXPECT_NEAR(std::abs(s.Positive), c.positive, 1e-9) << c.name;
    EXPECT_NEAR(std::abs(s.Negative), c.negative, 1e-9) << c.name;
  }
  EXPECT_NEAR(UnbalanceFactor(Fortescue(p(1, 0), p(0.9, -120), p(1, 120))), 0.1 / 2.9, 1e-12);
}

TEST(PowerAnalysis, DeviationUnbalanceIsLargestDeviationOverAverage) {
  EXPECT_NEAR(DeviationUnbalance(236, 226, 219), 9.0 / 227, 1e-12);
  EXPECT_EQ(DeviationUnbalance(230, 230, 230), 0);
  EXPECT_EQ(DeviationUnbalance(0, 0, 0), 0);
}

TEST(PowerAnalysis, RelativeAnglesWrapIntoTheHalfOpenCircle) {
  const auto p = [](double deg) { return std::polar(1.0, deg * kRad); };
  EXPECT_NEAR(RelativeAngleDegrees(p(-120), p(0)), -120, 1e-9);
  EXPECT_NEAR(RelativeAngleDegrees(p(100), p(-100)), -160, 1e-9);
  EXPECT_NEAR(RelativeAngleDegrees(p(-90), p(90)), 180, 1e-9);
  EXPECT_EQ(RelativeAngleDegrees({}, p(0)), 0);
}

// Balanced four-wire system of 230 V and 10 A lagging 30 degrees.
ChannelRecords BalancedRecords(double lagDeg) {
  ChannelRecords r;
  r.sampleRate = 6400;
  for (int ch = 0; ch < 3; ++ch) {
    r.v[ch] = Wave(230, -120.0 * ch);
    r.i[ch] = Wave(10, -120.0 * ch - lagDeg);
  }
  return r;
}

TEST(ThreePhase, BalancedFourWireSystem) {
  const ChannelRecords r = BalancedRecords(30);
  ChannelAnalysis a[3];
  for (int ch = 0; ch < 3; ++ch) a[ch] = AnalyseChannel(r.v[ch], r.i[ch], r.sampleRate, 50);
  const ThreePhaseFigures f = AnalyseThreePhase(kWiringFourWire, r, a);
  for (double line : f.lineVoltage) EXPECT_NEAR(line, std::sqrt(3.0) * 230, 1e-6);
  EXPECT_NEAR(std::abs(f.voltage.Positive), 230, 1e-6);
  EXPECT_NEAR(std::abs(f.voltage.Negative), 0, 1e-6);
  EXPECT_NEAR(std::abs(f.voltage.Zero), 0, 1e-6);
  EXPECT_NEAR(f.vuf, 0, 1e-9);
  EXPECT_NEAR(f.cuf, 0, 1e-9);
  EXPECT_NEAR(f.pvur, 0, 1e-9);
  EXPECT_NEAR(f.totalActive, 3 * 2300 * std::cos(30 * kRad), 1e-5);
  EXPECT_NEAR(f.totalApparent, 3 * 2300, 1e-5);
  EXPECT_NEAR(f.totalReactive, 3 * 2300 * std::sin(30 * kRad), 1e-3);
}

TEST(ThreePhase, AronElementsGiveTheWholeSystemsPower) {
  // The same balanced system measured by two elements: Uab with Ia, Ucb with Ic.
  const ChannelRecords phases = BalancedRecords(30);
  ChannelRecords r;
  r.sampleRate = phases.sampleRate;
  for (size_t k = 0; k < r.v[0].size(); ++k) {
    r.v[0][k] = phases.v[0][k] - phases.v[1][k];
    r.v[1][k] = phases.v[2][k] - phases.v[1][k];
    r.v[2][k] = r.i[2][k] = 0;
  }
  r.i[0] = phases.i[0];
  r.i[1] = phases.i[2];
  ChannelAnalysis a[3];
  for (int ch = 0; ch < 3; ++ch) a[ch] = AnalyseChannel(r.v[ch], r.i[ch], r.sampleRate, 50);
  const ThreePhaseFigures f = AnalyseThreePhase(kWiringThreeWire, r, a);
  EXPECT_NEAR(f.totalActive, 3 * 2300 * std::cos(30 * kRad), 1e-4);
  EXPECT_NEAR(f.totalReactive, 3 * 2300 * std::sin(30 * kRad), 1e-3);
  EXPECT_NEAR(f.totalApparent, 3 * 2300, 1e-3);
  for (double line : f.lineVoltage) EXPECT_NEAR(line, std::sqrt(3.0) * 230, 1e-6);
  EXPECT_NEAR(std::abs(f.voltage.Positive), 230, 1e-6);
  EXPECT_NEAR(f.vuf, 0, 1e-9);
  EXPECT_NEAR(std::abs(f.current.Positive), 10, 1e-9);
  EXPECT_NEAR(f.cuf, 0, 1e-9);
  EXPECT_NEAR(f.pcur, 0, 1e-9);
}

}  // namespace
