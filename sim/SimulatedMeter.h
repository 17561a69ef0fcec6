#pragma once
// The simulated instrument's measuring side: every cycle it samples the scenario's
// signals through its inputs (wiring, current bandwidth, trigger, ranges, calibration), computes
// every quantity of the channel and three-phase blocks from the samples, and integrates
// the energies and the demand over time. Time is passed in, in seconds since start-up,
// so that the same seed and the same times give the same readings.

#include <array>
#include <cstdint>
#include <deque>

#include "display/ConfigBlocks.h"
#include "display/MeasurementModel.h"
#include "sim/BlockAnalysis.h"
#include "sim/Scenario.h"
#include "sim/SignalModel.h"

inline constexpr InstrumentSetupData kStartSetup = {10, 0, 1, 3, 15, 1, 1, 4, 4, 30};

// The full scale of the manual ranges 1 to 4, peak volts and amperes: beyond it an input
// saturates, as the instrument's converters do. The automatic range never saturates.
inline constexpr double kVoltageRangePeak[4] = {150, 300, 600, 1000};
inline constexpr double kCurrentRangePeak[4] = {5, 10, 20, 60};

// Counts of the sample arrays: 1/32 V and 1/512 A a step.
inline constexpr double kVoltsPerCount = 1.0 / 32;
inline constexpr double kAmperesPerCount = 1.0 / 512;

class SimulatedMeter {
 public:
  static constexpr double kCyclePeriod = 0.2;  // seconds between measurements

  SimulatedMeter(const Scenario& scenario, uint64_t seed);

  // Runs the measurement cycles due up to `t`.
  void AdvanceTo(double t);
  // The reading of the last cycle run.
  const MeasurementSet& Reading() const { return reading_; }
  int64_t CycleCount() const { return nextCycle_; }

  const InstrumentSetupData& Setup() const { return setup_; }
  // Takes a new set-up; false (and nothing changed) when a field is out of its range.
  bool SetSetup(const InstrumentSetupData& setup);
  static bool SetupIsValid(const InstrumentSetupData& setup);

  AlarmBlockData& Alarms() { return alarms_; }

  // Calibration. The reference writes take effect only while unlocked; each sets the
  // channel's gain so that the present reading equals the reference.
  void SetCalibrationUnlocked(bool unlocked) { unlocked_ = unlocked; }
  bool CalibrationUnlocked() const { return unlocked_; }
  bool CalibrateVoltage(int channel, float reference);
  bool CalibrateCurrent(int channel, float reference);
  // Current phase correction of a channel (0 to 2) for a band (0 narrow, 1 broad), degrees.
  float PhaseCorrection(int channel, int band) const { return phaseCorrection_[channel][band]; }
  bool SetPhaseCorrection(int channel, int band, float degrees);
  void SetTemperatureOption(uint8_t option) { temperatureOption_ = option; }
  uint8_t TemperatureOption() const { return temperatureOption_; }

 private:
  struct Totals {
    double active = 0, apparent = 0, reactive = 0;
  };

  // `again`: the same cycle measured anew after a change of settings.
  void MeasureCycle(int64_t cycle, bool again);
  void Integrate(double seconds);
  void AddDemandSecond(const Totals& mean);
  void StoreCounters();
  double TriggerTime(double from, bool onFundamental) const;
  std::array<double, 3> ChannelVoltages(double t) const;
  void Sample(int64_t cycle, double start, ChannelRecords& r);

  const Scenario& scenario_;
  SignalModel model_;
  uint64_t seed_;
  InstrumentSetupData setup_ = kStartSetup;
  AlarmBlockData alarms_{};
  bool unlocked_ = false;
  float voltageGain_[3] = {1, 1, 1};
  float currentGain_[3] = {1, 1, 1};
  float phaseCorrection_[3][2];
  uint8_t temperatureOption_ = 3;

  int64_t nextCycle_ = 0;
  bool remeasure_ = false;  // settings changed since the last cycle
  alignas(8) MeasurementSet reading_{};
  double channelPower_[3] = {};
  Totals totals_;
  double measured_[3][2] = {};  // latest voltage and current TRMS, for calibration
  // Energy counters, kWh, kVAh and kvarh.
  double channelEnergy_[3][3] = {};  // net, positive, negative
  double energy_[5] = {};            // WP, WP+, WP-, kVAh, kvarh
  // Mean totals of each completed second, newest last, for the sliding demand.
  std::deque<Totals> demandSeconds_;
  Totals secondSum_;
};
