#pragma once
// The analogue signals of a scenario as functions of time: the phase voltages and line
// currents with their harmonics, a frequency that wanders slowly around the nominal one
// and loads that drift by a few per cent. Noise-free; the instrument adds its own.

#include <array>
#include <complex>
#include <cstdint>
#include <vector>

#include "sim/Scenario.h"

class SignalModel {
 public:
  SignalModel(const Scenario& scenario, uint64_t seed);

  const Scenario& Source() const { return scenario_; }
  double Frequency(double t) const;
  // Angle of the supply's fundamental, radians: the integral of 2 pi f.
  double Angle(double t) const;
  std::array<double, 3> PhaseVoltages(double t) const;
  // With `narrowband` the current input's 5 kHz low-pass damps the higher orders; each
  // phase's current is taken `lagRad[p]` of the fundamental late (the input's phase error).
  std::array<double, 3> LineCurrents(double t, bool narrowband,
                                     const std::array<double, 3>& lagRad = {}) const;
  // Fundamental of each phase voltage as an RMS phasor relative to Angle(t) = 0.
  std::complex<double> VoltagePhasor(int phase) const;

 private:
  struct Drift {
    double amplitude, period, phase;
  };
  // A harmonic as the factors of sin(h x) and cos(h x).
  struct Term {
    int order;
    double sinFactor, cosFactor;
  };
  static std::vector<Term> Terms(const std::vector<HarmonicPart>& parts);
  // sin(x) plus the terms, with the powers of e^(jx) built by multiplication.
  static double Series(double x, const std::vector<Term>& terms, const double* gains = nullptr);
  double VoltageScale(double t) const;
  double LoadScale(int phase, double t) const;

  const Scenario& scenario_;
  Drift frequencyDrift_[2];
  Drift voltageDrift_;
  Drift loadDrift_[3][2];
  std::vector<Term> voltageTerms_[3];
  std::vector<Term> currentTerms_[3];
  double narrowGain_[64];  // the 5 kHz low-pass at each order
};

// splitmix64: a small counter-based generator, so that every measurement cycle can have
// its own reproducible noise.
class NoiseSource {
 public:
  explicit NoiseSource(uint64_t seed) : state_(seed) {}
  uint64_t Next();
  double Uniform();   // [0, 1)
  double Gaussian();  // mean 0, deviation 1

 private:
  uint64_t state_;
};

uint64_t MixSeed(uint64_t seed, uint64_t a, uint64_t b = 0);
