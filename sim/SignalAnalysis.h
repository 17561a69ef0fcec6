#pragma once
// Quantities of one sampled signal, a voltage or a current, over a record of whole
// periods: levels, shape factors, the harmonic spectrum by DFT and the distortion figures
// taken from it. Pure functions; a ratio whose denominator is zero is 0.

#include <array>
#include <complex>
#include <span>

inline constexpr int kRecordPeriods = 4;
inline constexpr int kTopHarmonic = 50;

// RMS phasors of the harmonic orders 0 to 50; order 0 is the mean.
using HarmonicPhasors = std::array<std::complex<double>, kTopHarmonic + 1>;
// RMS values of the harmonic orders 0 to 50; element 1 is the fundamental.
using HarmonicSpectrum = std::array<double, kTopHarmonic + 1>;

struct SignalQuantities {
  double Trms = 0;
  double Peak = 0;
  double PeakToPeak = 0;
  double Mean = 0;
  double RectifiedMean = 0;
  double CrestFactor = 0;
  double FormFactor = 0;
  HarmonicPhasors Phasors{};
  HarmonicSpectrum Harmonics{};
  double ThdF = 0;
  double ThdR = 0;
  double Tif = 0;
  double Thf = 0;
  double Ffcr = 0;
  double KFactor = 0;
};

double Rms(std::span<const double> x);
double PeakMagnitude(std::span<const double> x);  // max |x|
double PeakToPeak(std::span<const double> x);     // max x - min x
double Mean(std::span<const double> x);
double RectifiedMean(std::span<const double> x);  // mean |x|, unscaled

// RMS phasor of harmonic `order` of a record spanning `periods` periods of the
// fundamental: x = sqrt(2) X cos(h w t + a) gives X e^(j a).
std::complex<double> HarmonicPhasor(std::span<const double> x, int order, int periods);
HarmonicPhasors AllHarmonicPhasors(std::span<const double> x, int periods);
HarmonicSpectrum Magnitudes(const HarmonicPhasors& phasors);

// sqrt(sum of orders 2..50 squared) over order 1.
double ThdF(const HarmonicSpectrum& h);
// The same over sqrt(sum of orders 1..50 squared), i.e. relative to the harmonic RMS.
double ThdR(const HarmonicSpectrum& h);
// sum h^2 X_h^2 / sum X_h^2 over orders 1..50.
double KFactor(const HarmonicSpectrum& h);
// sqrt(sum (W(h f) X_h)^2) / trms over orders 1..50 with the TIF weights.
double Tif(const HarmonicSpectrum& h, double fundamentalHz, double trms);
// sqrt(sum (lambda(h f) X_h)^2) / trms over orders 1..50, psophometric weights.
double Thf(const HarmonicSpectrum& h, double fundamentalHz, double trms);
// Fundamental content: X_1 / trms (1 for a pure sine).
double Ffcr(const HarmonicSpectrum& h, double trms);

SignalQuantities AnalyseSignal(std::span<const double> x, double fundamentalHz);

// Frequency of the fundamental of a record sampled at `sampleRate` with nominally 128
// samples a period: the phase advance of the fundamental from the first half of the
// record to the second. 0 when the record carries no fundamental.
double RecordFrequency(std::span<const double> x, double sampleRate);
