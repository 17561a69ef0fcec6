#include "sim/SignalModel.h"

#include <cmath>
#include <numbers>

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kDegree = kPi / 180;
constexpr double kCurrentBandwidthHz = 5000;

double Wave(double amplitude, double period, double phase, double t) {
  return amplitude * std::sin(2 * kPi * t / period + phase);
}

}  // namespace

uint64_t NoiseSource::Next() {
  uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

double NoiseSource::Uniform() {
  return static_cast<double>(Next() >> 11) * 0x1.0p-53;
}

double NoiseSource::Gaussian() {
  const double u = 1.0 - Uniform();  // (0, 1]
  const double v = Uniform();
  return std::sqrt(-2 * std::log(u)) * std::cos(2 * kPi * v);
}

uint64_t MixSeed(uint64_t seed, uint64_t a, uint64_t b) {
  NoiseSource mix(seed ^ (a * 0xD1B54A32D192ED03ull) ^ (b * 0x8CB92BA72F3D8DD7ull));
  return mix.Next();
}

std::vector<SignalModel::Term> SignalModel::Terms(const std::vector<HarmonicPart>& parts) {
  std::vector<Term> terms;
  for (const HarmonicPart& h : parts)
    terms.push_back({h.order, h.ratio * std::cos(h.phaseDeg * kDegree),
                     h.ratio * std::sin(h.phaseDeg * kDegree)});
  return terms;
}

double SignalModel::Series(double x, const std::vector<Term>& terms, const double* gains) {
  const double c1 = std::cos(x), s1 = std::sin(x);
  double sum = gains != nullptr ? gains[1] * s1 : s1;
  double c = c1, s = s1;  // cos(h x), sin(h x)
  int order = 1;
  for (const Term& term : terms) {
    while (order < term.order) {
      const double next = c * c1 - s * s1;
      s = s * c1 + c * s1;
      c = next;
      ++order;
    }
    // ratio sin(h x + phase) = a sin(h x) + b cos(h x)
    const double value = term.sinFactor * s + term.cosFactor * c;
    sum += gains != nullptr ? gains[order] * value : value;
  }
  return sum;
}

SignalModel::SignalModel(const Scenario& scenario, uint64_t seed) : scenario_(scenario) {
  for (int p = 0; p < 3; ++p) {
    voltageTerms_[p] = Terms(scenario.source[p].harmonics);
    currentTerms_[p] = Terms(scenario.load[p].harmonics);
  }
  for (int order = 0; order < 64; ++order) {
    const double x = order * scenario.frequency / kCurrentBandwidthHz;
    narrowGain_[order] = 1 / std::sqrt(1 + x * x);
  }
  NoiseSource random(MixSeed(seed, 0x5167));
  auto phase = [&] { return 2 * kPi * random.Uniform(); };
  frequencyDrift_[0] = {0.018, 47, phase()};
  frequencyDrift_[1] = {0.007, 13, phase()};
  voltageDrift_ = {0.004, 29, phase()};
  for (int p = 0; p < 3; ++p) {
    loadDrift_[p][0] = {0.03, 61.0 + 7 * p, phase()};
    loadDrift_[p][1] = {0.008, 7.3 + p, phase()};
  }
}

double SignalModel::Frequency(double t) const {
  double f = scenario_.frequency;
  for (const Drift& d : frequencyDrift_) f += Wave(d.amplitude, d.period, d.phase, t);
  return f;
}

double SignalModel::Angle(double t) const {
  double turns = scenario_.frequency * t;
  for (const Drift& d : frequencyDrift_)
    turns += d.amplitude * d.period / (2 * kPi) *
             (std::cos(d.phase) - std::cos(2 * kPi * t / d.period + d.phase));
  return 2 * kPi * turns;
}

double SignalModel::VoltageScale(double t) const {
  return 1 + Wave(voltageDrift_.amplitude, voltageDrift_.period, voltageDrift_.phase, t);
}

double SignalModel::LoadScale(int phase, double t) const {
  double scale = 1;
  for (const Drift& d : loadDrift_[phase]) scale += Wave(d.amplitude, d.period, d.phase, t);
  return scale;
}

std::array<double, 3> SignalModel::PhaseVoltages(double t) const {
  const double theta = Angle(t);
  const double scale = VoltageScale(t) * std::numbers::sqrt2;
  std::array<double, 3> u{};
  for (int p = 0; p < 3; ++p) {
    const PhaseSource& s = scenario_.source[p];
    u[p] = scale * s.voltage * Series(theta + s.angleDeg * kDegree, voltageTerms_[p]);
  }
  return u;
}

std::array<double, 3> SignalModel::LineCurrents(double t, bool narrowband,
                                                const std::array<double, 3>& lagRad) const {
  const double theta = Angle(t);
  std::array<double, 3> i{};
  for (int p = 0; p < 3; ++p) {
    const PhaseLoad& load = scenario_.load[p];
    const double x =
        theta - lagRad[p] + (scenario_.source[p].angleDeg - load.displacementDeg) * kDegree;
    i[p] = std::numbers::sqrt2 * load.current * LoadScale(p, t) *
           Series(x, currentTerms_[p], narrowband ? narrowGain_ : nullptr);
  }
  if (!scenario_.neutral) {
    // Without a neutral conductor no zero-sequence current can flow.
    const double common = (i[0] + i[1] + i[2]) / 3;
    for (double& value : i) value -= common;
  }
  return i;
}

std::complex<double> SignalModel::VoltagePhasor(int phase) const {
  const PhaseSource& s = scenario_.source[phase];
  return std::polar(s.voltage, s.angleDeg * kDegree);
}
