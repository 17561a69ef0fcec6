#include "sim/PowerAnalysis.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {
const std::complex<double> kA = std::polar(1.0, 2 * std::numbers::pi / 3);
}

ElementPower AnalysePower(std::span<const double> v, std::span<const double> i,
                          const SignalQuantities& vq, const SignalQuantities& iq) {
  ElementPower p;
  const size_t n = std::min(v.size(), i.size());
  if (n == 0) return p;
  double sum = 0;
  for (size_t k = 0; k < n; ++k) {
    const double instant = v[k] * i[k];
    sum += instant;
    p.Peak = std::max(p.Peak, std::fabs(instant));
  }
  p.Active = sum / static_cast<double>(n);
  p.Apparent = vq.Trms * iq.Trms;
  // Rounding can put |P| a hair above S on a purely resistive load.
  p.Active = std::clamp(p.Active, -p.Apparent, p.Apparent);
  const double sign = ReactiveSign(vq.Phasors[1], iq.Phasors[1]);
  p.Reactive = sign * std::sqrt(std::max(0.0, p.Apparent * p.Apparent - p.Active * p.Active));
  p.Factor = p.Apparent > 0 ? p.Active / p.Apparent : 0.0;
  p.Impedance = iq.Trms > 0 ? vq.Trms / iq.Trms : 0.0;
  for (int order = 1; order <= kTopHarmonic; ++order)
    p.Budeanu += std::imag(vq.Phasors[order] * std::conj(iq.Phasors[order]));
  return p;
}

double ReactiveSign(std::complex<double> voltage, std::complex<double> current) {
  return std::imag(voltage * std::conj(current)) < 0 ? -1.0 : 1.0;
}

SequenceComponents Fortescue(std::complex<double> a, std::complex<double> b,
                             std::complex<double> c) {
  const std::complex<double> a2 = kA * kA;
  return {(a + b + c) / 3.0, (a + kA * b + a2 * c) / 3.0, (a + a2 * b + kA * c) / 3.0};
}

double UnbalanceFactor(const SequenceComponents& s) {
  const double positive = std::abs(s.Positive);
  return positive > 0 ? std::abs(s.Negative) / positive : 0.0;
}

double DeviationUnbalance(double a, double b, double c) {
  const double average = (a + b + c) / 3;
  if (average <= 0) return 0;
  const double deviation =
      std::max({std::fabs(a - average), std::fabs(b - average), std::fabs(c - average)});
  return deviation / average;
}

double RelativeAngleDegrees(std::complex<double> phasor, std::complex<double> reference) {
  if (std::abs(phasor) == 0 || std::abs(reference) == 0) return 0;
  double degrees = std::arg(phasor / reference) * 180 / std::numbers::pi;
  if (degrees <= -180) degrees += 360;
  return degrees + 0.0;  // no -0
}
