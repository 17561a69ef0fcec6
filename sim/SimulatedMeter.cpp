#include "sim/SimulatedMeter.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double kSamplesPerPeriod = kWaveSamples / kRecordPeriods;
constexpr int kCyclesPerSecond = 5;
constexpr int kMaxDemandSeconds = 30;
// Beyond this many missed cycles (the process was stopped) the gap is integrated at once.
constexpr int64_t kMaxCatchUp = 300;
constexpr double kJoulesPerKwh = 3.6e6;

// Phase error of each channel's current input (degrees at the fundamental, the current
// seen late) in the narrow and the broad band; the factory correction cancels it.
constexpr float kInherentPhaseError[3][2] = {{0.62f, 0.08f}, {0.55f, -0.05f}, {0.68f, 0.11f}};
constexpr double kVoltageOffset[3] = {0.06, -0.04, 0.03};     // V
constexpr double kCurrentOffset[3] = {0.004, -0.003, 0.005};  // A

int16_t ToCounts(double value, double perCount) {
  const double counts = std::nearbyint(value / perCount);
  return static_cast<int16_t>(std::clamp(counts, -32767.0, 32767.0));
}

}  // namespace

SimulatedMeter::SimulatedMeter(const Scenario& scenario, uint64_t seed)
    : scenario_(scenario), model_(scenario, seed), seed_(seed) {
  setup_.InputWiring = scenario.wiring;
  for (int ch = 0; ch < 3; ++ch)
    for (int band = 0; band < 2; ++band)
      phaseCorrection_[ch][band] = -kInherentPhaseError[ch][band];
  MeasureCycle(0, false);
  nextCycle_ = 1;
}

bool SimulatedMeter::SetupIsValid(const InstrumentSetupData& s) {
  return s.FilterCoefficient >= 1 && s.FilterCoefficient <= 10 && s.FilterSwitch <= 1 &&
         s.CurrentBandwidth <= 1 && s.InputWiring <= kWiringFourWire && s.Grayscale <= 20 &&
         s.PhaseTrigger <= 1 && s.RangeMode <= 1 && s.VoltageRange >= 1 && s.VoltageRange <= 4 &&
         s.CurrentRange >= 1 && s.CurrentRange <= 4 && s.DemandWindow >= 1 &&
         s.DemandWindow <= kMaxDemandSeconds;
}

bool SimulatedMeter::SetSetup(const InstrumentSetupData& setup) {
  if (!SetupIsValid(setup)) return false;
  setup_ = setup;
  remeasure_ = true;
  return true;
}

bool SimulatedMeter::CalibrateVoltage(int channel, float reference) {
  if (!unlocked_ || channel < 0 || channel > 2 || !(reference > 0)) return false;
  if (measured_[channel][0] < 1.0) return false;
  voltageGain_[channel] =
      static_cast<float>(voltageGain_[channel] * reference / measured_[channel][0]);
  remeasure_ = true;
  return true;
}

bool SimulatedMeter::CalibrateCurrent(int channel, float reference) {
  if (!unlocked_ || channel < 0 || channel > 2 || !(reference > 0)) return false;
  if (measured_[channel][1] < 0.01) return false;
  currentGain_[channel] =
      static_cast<float>(currentGain_[channel] * reference / measured_[channel][1]);
  remeasure_ = true;
  return true;
}

bool SimulatedMeter::SetPhaseCorrection(int channel, int band, float degrees) {
  if (channel < 0 || channel > 2 || band < 0 || band > 1) return false;
  if (!(degrees >= -30.0f && degrees <= 30.0f)) return false;
  phaseCorrection_[channel][band] = degrees;
  remeasure_ = true;
  return true;
}

void SimulatedMeter::AdvanceTo(double t) {
  const int64_t due = static_cast<int64_t>(std::floor(t / kCyclePeriod + 1e-9));
  if (due < nextCycle_) {
    if (remeasure_) MeasureCycle(nextCycle_ - 1, true);
    return;
  }
  if (due - nextCycle_ > kMaxCatchUp) {
    const int64_t skipped = due - nextCycle_;
    Integrate(static_cast<double>(skipped) * kCyclePeriod);
    const int64_t seconds = std::min<int64_t>(skipped / kCyclesPerSecond, kMaxDemandSeconds);
    for (int64_t s = 0; s < seconds; ++s) AddDemandSecond(totals_);
    secondSum_ = {};
    nextCycle_ = due;
  }
  while (nextCycle_ <= due) {
    MeasureCycle(nextCycle_, false);
    ++nextCycle_;
  }
}

void SimulatedMeter::Integrate(double seconds) {
  const double kwhPerWatt = seconds / kJoulesPerKwh;
  for (int ch = 0; ch < 3; ++ch) {
    const double e = channelPower_[ch] * kwhPerWatt;
    channelEnergy_[ch][0] += e;
    channelEnergy_[ch][e >= 0 ? 1 : 2] += std::fabs(e);
  }
  const double e = totals_.active * kwhPerWatt;
  energy_[0] += e;
  energy_[e >= 0 ? 1 : 2] += std::fabs(e);
  energy_[3] += totals_.apparent * kwhPerWatt;
  energy_[4] += totals_.reactive * kwhPerWatt;
}

void SimulatedMeter::AddDemandSecond(const Totals& mean) {
  demandSeconds_.push_back(mean);
  while (demandSeconds_.size() > kMaxDemandSeconds) demandSeconds_.pop_front();
}

std::array<double, 3> SimulatedMeter::ChannelVoltages(double t) const {
  const std::array<double, 3> u = model_.PhaseVoltages(t);
  switch (setup_.InputWiring) {
    case kWiringThreeWire:
      return {u[0] - u[1], u[2] - u[1], 0.0};
    case kWiringThreeWire3VT3CT: {
      // Three transformers in star: each sees its phase against their common point.
      const double star = (u[0] + u[1] + u[2]) / 3;
      return {u[0] - star, u[1] - star, u[2] - star};
    }
    default:
      return u;
  }
}

double SimulatedMeter::TriggerTime(double from, bool onFundamental) const {
  std::complex<double> c = model_.VoltagePhasor(0);
  if (setup_.InputWiring == kWiringThreeWire) {
    c -= model_.VoltagePhasor(1);
  } else if (setup_.InputWiring == kWiringThreeWire3VT3CT) {
    c -= (model_.VoltagePhasor(0) + model_.VoltagePhasor(1) + model_.VoltagePhasor(2)) / 3.0;
  }
  if (std::abs(c) < 1.0) return from;
  // The fundamental of channel 1 rises through zero where Angle(t) + arg c is a whole turn.
  const double turn = 2 * std::numbers::pi;
  const double target = std::ceil((model_.Angle(from) + std::arg(c)) / turn) * turn - std::arg(c);
  double t = from;
  for (int k = 0; k < 4; ++k) t -= (model_.Angle(t) - target) / (turn * model_.Frequency(t));
  if (onFundamental) return t;

  // Zero-crossing trigger: the rising zero of the whole signal nearest to the fundamental's.
  const double period = 1 / scenario_.frequency;
  const double step = period / 512;
  double best = t;
  double bestDistance = period;
  double previous = ChannelVoltages(t - period / 4)[0];
  for (double x = t - period / 4 + step; x <= t + period / 4; x += step) {
    const double value = ChannelVoltages(x)[0];
    if (previous < 0 && value >= 0) {
      double low = x - step, high = x;
      for (int k = 0; k < 30; ++k) {
        const double mid = (low + high) / 2;
        (ChannelVoltages(mid)[0] < 0 ? low : high) = mid;
      }
      if (std::fabs(high - t) < bestDistance) {
        bestDistance = std::fabs(high - t);
        best = high;
      }
    }
    previous = value;
  }
  return best;
}

void SimulatedMeter::Sample(int64_t cycle, double start, ChannelRecords& r) {
  const uint8_t wiring = setup_.InputWiring;
  const bool narrow = setup_.CurrentBandwidth == 0;
  const int band = narrow ? 0 : 1;
  // The phase error of each channel's current input, radians at the fundamental.
  double lag[3];
  for (int ch = 0; ch < 3; ++ch)
    lag[ch] = (kInherentPhaseError[ch][band] + phaseCorrection_[ch][band]) * std::numbers::pi / 180;
  // Each channel's current input: phase k, or Ia and Ic for the two Aron elements.
  const int currentPhase[3] = {0, wiring == kWiringThreeWire ? 2 : 1, 2};
  const bool used[3] = {true, true, wiring != kWiringThreeWire};
  const double vNoise = 4e-4 * scenario_.source[0].voltage;
  double iNoise[3];
  for (int ch = 0; ch < 3; ++ch)
    iNoise[ch] = 8e-4 * scenario_.load[currentPhase[ch]].current + 2e-3;

  std::array<double, 3> phaseLag{};
  for (int ch = 0; ch < 3; ++ch)
    if (used[ch]) phaseLag[currentPhase[ch]] = lag[ch];

  const bool manual = setup_.RangeMode == 1;
  const double vFull = kVoltageRangePeak[std::clamp<int>(setup_.VoltageRange, 1, 4) - 1];
  const double iFull = kCurrentRangePeak[std::clamp<int>(setup_.CurrentRange, 1, 4) - 1];
  NoiseSource noise(MixSeed(seed_, static_cast<uint64_t>(cycle), 1));
  for (int n = 0; n < kWaveSamples; ++n) {
    const double t = start + n / r.sampleRate;
    const std::array<double, 3> v = ChannelVoltages(t);
    const std::array<double, 3> lineCurrent = model_.LineCurrents(t, narrow, phaseLag);
    for (int ch = 0; ch < 3; ++ch) {
      ChannelBlock& block = reading_.Channel[ch];
      if (!used[ch]) {
        block.VoltageWave[n] = block.CurrentWave[n] = 0;
        r.v[ch][n] = r.i[ch][n] = 0;
        continue;
      }
      const double i = lineCurrent[currentPhase[ch]];
      double vIn = (v[ch] + kVoltageOffset[ch] + vNoise * noise.Gaussian()) * voltageGain_[ch];
      double iIn = (i + kCurrentOffset[ch] + iNoise[ch] * noise.Gaussian()) * currentGain_[ch];
      if (manual) {
        vIn = std::clamp(vIn, -vFull, vFull);
        iIn = std::clamp(iIn, -iFull, iFull);
      }
      block.VoltageWave[n] = ToCounts(vIn, kVoltsPerCount);
      block.CurrentWave[n] = ToCounts(iIn, kAmperesPerCount);
      r.v[ch][n] = block.VoltageWave[n] * kVoltsPerCount;
      r.i[ch][n] = block.CurrentWave[n] * kAmperesPerCount;
    }
  }
}

void SimulatedMeter::MeasureCycle(int64_t cycle, bool again) {
  remeasure_ = false;
  const double t = static_cast<double>(cycle) * kCyclePeriod;
  if (!again && cycle > 0) Integrate(kCyclePeriod);

  // The sampling clock follows the supply with one cycle's lag, as a PLL would.
  ChannelRecords r;
  r.sampleRate = kSamplesPerPeriod * model_.Frequency(t - kCyclePeriod);
  Sample(cycle, TriggerTime(t, setup_.PhaseTrigger != 0), r);

  ChannelAnalysis a[3];
  for (int ch = 0; ch < 3; ++ch)
    a[ch] = AnalyseChannel(r.v[ch], r.i[ch], r.sampleRate, scenario_.frequency);
  const std::complex<double> reference = a[0].voltage.Phasors[1];
  for (int ch = 0; ch < 3; ++ch) {
    ChannelBlock& block = reading_.Channel[ch];
    FillChannelQuantities(block, a[ch], reference);
    block.WaveSampleCount = kWaveSamples;
    block.Wiring = setup_.InputWiring;
    block.Bandwidth = setup_.CurrentBandwidth;
    block.TriggerMode = setup_.PhaseTrigger;
    channelPower_[ch] = a[ch].power.Active;
    measured_[ch][0] = a[ch].voltage.Trms;
    measured_[ch][1] = a[ch].current.Trms;
  }
  const ThreePhaseFigures figures = AnalyseThreePhase(setup_.InputWiring, r, a);
  FillThreePhaseQuantities(reading_.ThreePhase, figures);
  totals_ = {figures.totalActive, figures.totalApparent, figures.totalReactive};

  if (!again) {
    secondSum_.active += totals_.active / kCyclesPerSecond;
    secondSum_.apparent += totals_.apparent / kCyclesPerSecond;
    secondSum_.reactive += totals_.reactive / kCyclesPerSecond;
    if (cycle % kCyclesPerSecond == kCyclesPerSecond - 1) {
      AddDemandSecond(secondSum_);
      secondSum_ = {};
    }
  }
  StoreCounters();
}

void SimulatedMeter::StoreCounters() {
  // Sliding demand: the mean of the last whole seconds of the window, or the present
  // totals before the first second is complete.
  Totals demand = totals_;
  const size_t window = std::min<size_t>(setup_.DemandWindow, demandSeconds_.size());
  if (window > 0) {
    demand = {};
    for (size_t k = demandSeconds_.size() - window; k < demandSeconds_.size(); ++k) {
      demand.active += demandSeconds_[k].active / static_cast<double>(window);
      demand.apparent += demandSeconds_[k].apparent / static_cast<double>(window);
      demand.reactive += demandSeconds_[k].reactive / static_cast<double>(window);
    }
  }
  ThreePhaseBlock& b = reading_.ThreePhase;
  b.DemandActivePower = static_cast<float>(demand.active);
  b.DemandApparentPower = static_cast<float>(demand.apparent);
  b.DemandReactivePower = static_cast<float>(demand.reactive);
  b.EnergyWp = energy_[0];
  b.EnergyWpPositive = energy_[1];
  b.EnergyWpNegative = energy_[2];
  b.EnergyKvah = energy_[3];
  b.EnergyKvarh = energy_[4];
  for (int ch = 0; ch < 3; ++ch) {
    reading_.Channel[ch].EnergyKwh = channelEnergy_[ch][0];
    reading_.Channel[ch].EnergyPositive = channelEnergy_[ch][1];
    reading_.Channel[ch].EnergyNegative = channelEnergy_[ch][2];
  }
}
