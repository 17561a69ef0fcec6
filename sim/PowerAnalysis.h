#pragma once
// Power of one measuring element and the three-phase figures: symmetrical components,
// unbalance. Pure functions on samples and fundamental phasors.

#include <complex>
#include <span>

#include "sim/SignalAnalysis.h"

struct ElementPower {
  double Active = 0;     // mean(v i)
  double Apparent = 0;   // Vrms Irms
  double Reactive = 0;   // sign * sqrt(S^2 - P^2), positive when the current lags
  double Factor = 0;     // P / S
  double Peak = 0;       // max |v i|
  double Impedance = 0;  // Vrms / Irms
  double Budeanu = 0;    // sum over the orders of Vh Ih sin(phi_h), for vector totals
};

ElementPower AnalysePower(std::span<const double> v, std::span<const double> i,
                          const SignalQuantities& vq, const SignalQuantities& iq);

// +1 when the current's fundamental lags the voltage's (inductive) or is in phase,
// -1 when it leads.
double ReactiveSign(std::complex<double> voltage, std::complex<double> current);

struct SequenceComponents {
  std::complex<double> Zero, Positive, Negative;
};

// Fortescue with a = e^(j120): V0 = (a+b+c)/3, V1 = (a + a b + a^2 c)/3,
// V2 = (a + a^2 b + a c)/3.
SequenceComponents Fortescue(std::complex<double> a, std::complex<double> b,
                             std::complex<double> c);

// |negative| / |positive|.
double UnbalanceFactor(const SequenceComponents& s);
// Largest deviation of the three values from their average, over the average.
double DeviationUnbalance(double a, double b, double c);

// Angle of `phasor` relative to `reference` in degrees, in (-180, 180].
double RelativeAngleDegrees(std::complex<double> phasor, std::complex<double> reference);
