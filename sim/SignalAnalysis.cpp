#include "sim/SignalAnalysis.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "sim/HarmonicWeights.h"

namespace {

double Ratio(double numerator, double denominator) {
  return denominator > 0 ? numerator / denominator : 0.0;
}

double SumOfSquares(const HarmonicSpectrum& h, int from) {
  double sum = 0;
  for (int order = from; order <= kTopHarmonic; ++order) sum += h[order] * h[order];
  return sum;
}

template <typename Weight>
double WeightedRms(const HarmonicSpectrum& h, double fundamentalHz, Weight weight) {
  double sum = 0;
  for (int order = 1; order <= kTopHarmonic; ++order) {
    const double w = weight(order * fundamentalHz) * h[order];
    sum += w * w;
  }
  return std::sqrt(sum);
}

}  // namespace

double Rms(std::span<const double> x) {
  if (x.empty()) return 0;
  double sum = 0;
  for (double v : x) sum += v * v;
  return std::sqrt(sum / static_cast<double>(x.size()));
}

double PeakMagnitude(std::span<const double> x) {
  double peak = 0;
  for (double v : x) peak = std::max(peak, std::fabs(v));
  return peak;
}

double PeakToPeak(std::span<const double> x) {
  if (x.empty()) return 0;
  const auto [low, high] = std::minmax_element(x.begin(), x.end());
  return *high - *low;
}

double Mean(std::span<const double> x) {
  if (x.empty()) return 0;
  double sum = 0;
  for (double v : x) sum += v;
  return sum / static_cast<double>(x.size());
}

double RectifiedMean(std::span<const double> x) {
  if (x.empty()) return 0;
  double sum = 0;
  for (double v : x) sum += std::fabs(v);
  return sum / static_cast<double>(x.size());
}

std::complex<double> HarmonicPhasor(std::span<const double> x, int order, int periods) {
  const size_t n = x.size();
  if (n == 0) return {};
  if (order == 0) return {Mean(x), 0.0};
  const double step = 2 * std::numbers::pi * order * periods / static_cast<double>(n);
  std::complex<double> sum;
  for (size_t k = 0; k < n; ++k) {
    const double angle = step * static_cast<double>(k);
    sum += x[k] * std::complex<double>(std::cos(angle), -std::sin(angle));
  }
  return sum * (std::numbers::sqrt2 / static_cast<double>(n));
}

HarmonicPhasors AllHarmonicPhasors(std::span<const double> x, int periods) {
  HarmonicPhasors phasors{};
  const size_t n = x.size();
  if (n == 0) return phasors;
  // One table of the n roots of unity serves every order.
  std::vector<double> cosines(n), sines(n);
  for (size_t k = 0; k < n; ++k) {
    const double angle = 2 * std::numbers::pi * static_cast<double>(k) / static_cast<double>(n);
    cosines[k] = std::cos(angle);
    sines[k] = std::sin(angle);
  }
  phasors[0] = {Mean(x), 0.0};
  for (int order = 1; order <= kTopHarmonic; ++order) {
    const size_t bin = static_cast<size_t>(order * periods) % n;
    double re = 0, im = 0;
    size_t index = 0;
    for (size_t k = 0; k < n; ++k) {
      re += x[k] * cosines[index];
      im -= x[k] * sines[index];
      index += bin;
      if (index >= n) index -= n;
    }
    phasors[order] = std::complex<double>(re, im) * (std::numbers::sqrt2 / static_cast<double>(n));
  }
  return phasors;
}

HarmonicSpectrum Magnitudes(const HarmonicPhasors& phasors) {
  HarmonicSpectrum h{};
  for (int order = 0; order <= kTopHarmonic; ++order) h[order] = std::abs(phasors[order]);
  return h;
}

double ThdF(const HarmonicSpectrum& h) {
  return Ratio(std::sqrt(SumOfSquares(h, 2)), h[1]);
}

double ThdR(const HarmonicSpectrum& h) {
  return Ratio(std::sqrt(SumOfSquares(h, 2)), std::sqrt(SumOfSquares(h, 1)));
}

double KFactor(const HarmonicSpectrum& h) {
  double weighted = 0;
  for (int order = 1; order <= kTopHarmonic; ++order)
    weighted += static_cast<double>(order * order) * h[order] * h[order];
  return Ratio(weighted, SumOfSquares(h, 1));
}

double Tif(const HarmonicSpectrum& h, double fundamentalHz, double trms) {
  return Ratio(WeightedRms(h, fundamentalHz, TifWeight), trms);
}

double Thf(const HarmonicSpectrum& h, double fundamentalHz, double trms) {
  return Ratio(WeightedRms(h, fundamentalHz, PsophometricWeight), trms);
}

double Ffcr(const HarmonicSpectrum& h, double trms) {
  return Ratio(h[1], trms);
}

SignalQuantities AnalyseSignal(std::span<const double> x, double fundamentalHz) {
  SignalQuantities q;
  q.Trms = Rms(x);
  q.Peak = PeakMagnitude(x);
  q.PeakToPeak = PeakToPeak(x);
  q.Mean = Mean(x);
  q.RectifiedMean = RectifiedMean(x);
  q.CrestFactor = Ratio(q.Peak, q.Trms);
  q.FormFactor = Ratio(q.Trms, q.RectifiedMean);
  q.Phasors = AllHarmonicPhasors(x, kRecordPeriods);
  q.Harmonics = Magnitudes(q.Phasors);
  q.ThdF = ThdF(q.Harmonics);
  q.ThdR = ThdR(q.Harmonics);
  q.Tif = Tif(q.Harmonics, fundamentalHz, q.Trms);
  q.Thf = Thf(q.Harmonics, fundamentalHz, q.Trms);
  q.Ffcr = Ffcr(q.Harmonics, q.Trms);
  q.KFactor = KFactor(q.Harmonics);
  return q;
}

double RecordFrequency(std::span<const double> x, double sampleRate) {
  const size_t half = x.size() / 2;
  if (half == 0 || sampleRate <= 0) return 0;
  const int halfPeriods = kRecordPeriods / 2;
  const std::complex<double> first = HarmonicPhasor(x.first(half), 1, halfPeriods);
  const std::complex<double> second = HarmonicPhasor(x.subspan(half, half), 1, halfPeriods);
  if (std::abs(first) < 1e-9 || std::abs(second) < 1e-9) return 0;
  // Over half a record the fundamental advances by two whole periods plus 4 pi times the
  // relative frequency error of the sampling clock.
  const double advance = std::arg(second / first);
  const double nominal = sampleRate * kRecordPeriods / static_cast<double>(x.size());
  return nominal * (1 + advance / (2 * std::numbers::pi * halfPeriods));
}
