#pragma once
// The reading the display benchmarks refresh with.

#include <cmath>
#include <cstdint>

#include "display/MeasurementModel.h"

// A four-wire reading with every value and sample in use; `variant` shifts them all so that
// each refresh writes new texts.
inline MeasurementRecord BenchReading(int variant) {
  MeasurementRecord record;
  InitMeasurementRecord(record);
  const float k = 1.0f + 0.0007f * variant;
  for (int c = 0; c < 3; ++c) {
    ChannelBlock& b = record.Set.Channel[c];
    const float g = k * (1.0f + 0.1f * c);
    b.VoltageTrms = 229.87f * g;
    b.VoltagePeak = 325.1f * g;
    b.Frequency = 50.02f;
    b.VoltagePhase = -120.0f * c * g;
    b.CurrentTrms = 4.875f * g;
    b.CurrentPeak = 6.9f * g;
    b.CurrentPhase = -120.0f * c * g - 25.0f;
    b.ActivePower = 1017.4f * g;
    b.ApparentPower = 1120.6f * g;
    b.ReactivePower = 470.2f * g;
    b.PowerFactor = 0.9078f;
    b.EnergyKwh = 4321.125 * g;
    for (int n = 0; n < kHarmonicOrders; ++n) {
      b.VoltageHarmonics[n] = n == 1 ? 229.0f * g : 3.1f * g / (n + 1);
      b.CurrentHarmonics[n] = n == 1 ? 4.8f * g : 0.7f * g / (n + 1);
    }
    for (int i = 0; i < kWaveSamples; ++i) {
      const double angle = 2 * M_PI * i / 128 - 2 * M_PI * c / 3;
      b.VoltageWave[i] = static_cast<int16_t>(25000 * g * std::sin(angle));
      b.CurrentWave[i] = static_cast<int16_t>(18000 * g * std::sin(angle - 0.44));
    }
  }
  ThreePhaseBlock& t = record.Set.ThreePhase;
  t.LineVoltageAB = 398.2f * k;
  t.LineVoltageBC = 399.6f * k;
  t.LineVoltageCA = 400.9f * k;
  t.TotalActivePower = 3357.4f * k;
  t.TotalApparentPower = 3698.0f * k;
  t.TotalReactivePower = 1551.7f * k;
  t.VoltagePositiveSeq = 252.8f * k;
  t.VoltageUnbalanceVuf = 0.0121f * k;
  t.CurrentUnbalanceCuf = 0.0233f * k;
  t.DemandActivePower = 3300.5f * k;
  t.EnergyWp = 1000.5 * k;
  t.EnergyKvah = 4567.891 * k;
  return record;
}
