#include "sim/HarmonicWeights.h"

#include <iterator>

namespace {

struct WeightPoint {
  double hz;
  double weight;
};

// The 1960 single-frequency TIF weights at 60 Hz times the harmonic order. Order 35 is
// 8830: the curve still rises there, between 8330 at order 33 and 9080 at order 36.
constexpr WeightPoint kTifPoints[] = {
    {60, 0.5},    {180, 30},    {300, 225},    {360, 400},    {420, 650},    {540, 1320},
    {660, 2260},  {720, 2760},  {780, 3360},   {900, 4350},   {1020, 5100},  {1080, 5400},
    {1140, 5630}, {1260, 6050}, {1380, 6370},  {1440, 6650},  {1500, 6680},  {1620, 6970},
    {1740, 7320}, {1800, 7570}, {1860, 7820},  {1980, 8330},  {2100, 8830},  {2160, 9080},
    {2220, 9330}, {2340, 9840}, {2460, 10340}, {2580, 10600}, {2820, 10210}, {2940, 9820},
    {3000, 9670}};

constexpr WeightPoint kPsophometricPoints[] = {
    {50, 7.08e-4}, {100, 0.00891}, {200, 0.0891},  {300, 0.295},  {400, 0.484},  {500, 0.661},
    {600, 0.794},  {700, 0.902},   {800, 1.000},   {900, 1.072},  {1000, 1.122}, {1200, 1.000},
    {1400, 0.902}, {1600, 0.822},  {1800, 0.759},  {2000, 0.708}, {2500, 0.617}, {3000, 0.525},
    {3500, 0.376}, {4000, 0.178},  {4500, 0.0562}, {5000, 0.0158}};

template <size_t N>
double Interpolate(const WeightPoint (&points)[N], double hz) {
  if (hz <= points[0].hz) return points[0].weight;
  for (size_t k = 1; k < N; ++k) {
    if (hz <= points[k].hz) {
      const WeightPoint& a = points[k - 1];
      const WeightPoint& b = points[k];
      return a.weight + (b.weight - a.weight) * (hz - a.hz) / (b.hz - a.hz);
    }
  }
  return points[N - 1].weight;
}

}  // namespace

double TifWeight(double hz) {
  return Interpolate(kTifPoints, hz);
}

double PsophometricWeight(double hz) {
  return Interpolate(kPsophometricPoints, hz);
}
