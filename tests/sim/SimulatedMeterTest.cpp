#include "sim/SimulatedMeter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numbers>
#include <string>

#include "sim/SignalAnalysis.h"

namespace {

const Scenario& Get(const char* name) {
  const Scenario* s = FindScenario(name);
  EXPECT_NE(s, nullptr) << name;
  return s != nullptr ? *s : Scenarios()[0];
}

class EveryScenario : public ::testing::TestWithParam<std::string> {};

TEST_P(EveryScenario, ReadingsArePhysicallyConsistent) {
  const Scenario& scenario = Get(GetParam().c_str());
  SimulatedMeter meter(scenario, 7);
  meter.AdvanceTo(3.0);
  const MeasurementSet& m = meter.Reading();
  const int channels = scenario.wiring == kWiringThreeWire ? 2 : 3;
  double activeSum = 0;
  for (int ch = 0; ch < channels; ++ch) {
    const ChannelBlock& b = m.Channel[ch];
    SCOPED_TRACE("channel " + std::to_string(ch + 1));
    EXPECT_LE(std::fabs(+b.ActivePower), +b.ApparentPower);
    EXPECT_NEAR(+b.PowerFactor, +b.ActivePower / +b.ApparentPower, 1e-5);
    EXPECT_NEAR(+b.ApparentPower, +b.VoltageTrms * +b.CurrentTrms, 1e-3 * +b.ApparentPower);
    EXPECT_NEAR(+b.Frequency, scenario.frequency, 0.1);
    EXPECT_NEAR(+b.VoltageCrestFactor, +b.VoltagePeak / +b.VoltageTrms, 1e-5);
    EXPECT_NEAR(+b.CurrentFormFactor, +b.CurrentTrms / +b.CurrentRectifiedMean, 1e-5);
    EXPECT_GT(+b.CurrentHarmonics[1], 0.5 * +b.CurrentTrms);
    EXPECT_EQ(+b.Wiring, scenario.wiring);
    EXPECT_EQ(+b.WaveSampleCount, kWaveSamples);
    // The stored samples are the counts of what was measured.
    double vSquares = 0;
    for (int16_t s : b.VoltageWave) vSquares += s * kVoltsPerCount * s * kVoltsPerCount;
    EXPECT_NEAR(std::sqrt(vSquares / kWaveSamples), +b.VoltageTrms, 1e-3 * +b.VoltageTrms);
    activeSum += +b.ActivePower;
  }
  EXPECT_EQ(+m.Channel[0].VoltagePhase, 0.0f);
  if (scenario.wiring != kWiringThreeWire) {
    EXPECT_NEAR(+m.ThreePhase.TotalActivePower, activeSum, 1e-3 * std::fabs(activeSum) + 1e-3);
  }
}

INSTANTIATE_TEST_SUITE_P(Table, EveryScenario,
                         ::testing::Values("balanced", "nonlinear", "unbalanced", "single-phase",
                                           "60hz", "three-wire", "export"),
                         [](const auto& info) {
                           std::string name = info.param;
                           for (char& c : name)
                             if (c == '-') c = '_';
                           return name;
                         });

TEST(SimulatedMeter, BalancedSystemHasNoUnbalanceAndRootThreeLineVoltages) {
  SimulatedMeter meter(Get("balanced"), 1);
  meter.AdvanceTo(1.0);
  const MeasurementSet& m = meter.Reading();
  const ThreePhaseBlock& t = m.ThreePhase;
  const float lines[3] = {+t.LineVoltageAB, +t.LineVoltageBC, +t.LineVoltageCA};
  for (int k = 0; k < 3; ++k)
    EXPECT_NEAR(lines[k] / m.Channel[k].VoltageTrms, std::sqrt(3.0), 3e-3) << k;
  EXPECT_NEAR(+t.VoltagePositiveSeq, +m.Channel[0].VoltageHarmonics[1], 1.0);
  EXPECT_LT(+t.VoltageNegativeSeq, 0.005 * +t.VoltagePositiveSeq);
  EXPECT_LT(+t.VoltageZeroSeq, 0.005 * +t.VoltagePositiveSeq);
  EXPECT_LT(+t.VoltageUnbalanceVuf, 0.005f);
  EXPECT_LT(+t.CurrentUnbalanceCuf, 0.05f);  // the loads drift apart by a few per cent
  EXPECT_NEAR(+m.Channel[1].VoltagePhase, -120, 0.5);
  EXPECT_NEAR(+m.Channel[2].VoltagePhase, 120, 0.5);
  // PF 0.92 lagging: the current of phase A trails by about 23 degrees.
  EXPECT_NEAR(+m.Channel[0].CurrentPhase, -23.07, 0.5);
  EXPECT_GT(+m.Channel[0].ReactivePower, 0);
  EXPECT_NEAR(+m.Channel[0].VoltageCrestFactor, std::numbers::sqrt2, 0.03);
  EXPECT_LT(+m.Channel[0].VoltageThdF, 0.03f);
}

TEST(SimulatedMeter, RectifierLoadIsRichInOddHarmonics) {
  SimulatedMeter meter(Get("nonlinear"), 1);
  const ChannelBlock& b = meter.Reading().Channel[0];
  EXPECT_GT(+b.CurrentThdF, 0.8f);
  EXPECT_GT(+b.CurrentCrestFactor, 2.0f);
  EXPECT_GT(+b.CurrentKFactor, 4.0f);
  EXPECT_GT(+b.CurrentHarmonics[3], 10 * +b.CurrentHarmonics[2]);
  EXPECT_GT(+b.CurrentHarmonics[5], 10 * +b.CurrentHarmonics[4]);
  EXPECT_GT(+b.VoltageThdF, 0.02f);
  EXPECT_LT(+b.PowerFactor, 0.85f);
}

TEST(SimulatedMeter, UnbalancedSystemShowsItsUnbalance) {
  SimulatedMeter meter(Get("unbalanced"), 1);
  const ThreePhaseBlock& t = meter.Reading().ThreePhase;
  EXPECT_GT(+t.VoltageUnbalanceVuf, 0.01f);
  EXPECT_LT(+t.VoltageUnbalanceVuf, 0.05f);
  EXPECT_GT(+t.VoltageUnbalancePvur, 0.02f);
  EXPECT_GT(+t.CurrentUnbalanceCuf, 0.3f);
}

TEST(SimulatedMeter, SinglePhaseWiringLeavesOnlyTheTotals) {
  SimulatedMeter meter(Get("single-phase"), 1);
  const MeasurementSet& m = meter.Reading();
  EXPECT_EQ(+m.ThreePhase.LineVoltageAB, 0.0f);
  EXPECT_EQ(+m.ThreePhase.VoltagePositiveSeq, 0.0f);
  EXPECT_NEAR(
      +m.ThreePhase.TotalApparentPower,
      +m.Channel[0].ApparentPower + +m.Channel[1].ApparentPower + +m.Channel[2].ApparentPower, 1.0);
  EXPECT_NEAR(+m.Channel[1].VoltagePhase, 0, 0.5);
}

TEST(SimulatedMeter, SameSeedSameReadingsOtherSeedOtherNoise) {
  SimulatedMeter a(Get("balanced"), 42), b(Get("balanced"), 42), c(Get("balanced"), 43);
  for (SimulatedMeter* m : {&a, &b, &c}) m->AdvanceTo(2.5);
  EXPECT_EQ(std::memcmp(&a.Reading(), &b.Reading(), sizeof(MeasurementSet)), 0);
  EXPECT_NE(std::memcmp(&a.Reading(), &c.Reading(), sizeof(MeasurementSet)), 0);
}

TEST(SimulatedMeter, EnergiesIntegrateThePowerOverTime) {
  SimulatedMeter meter(Get("export"), 1);
  const double p = +meter.Reading().ThreePhase.TotalActivePower;
  ASSERT_LT(p, 0);
  meter.AdvanceTo(20.0);
  const ThreePhaseBlock& t = meter.Reading().ThreePhase;
  EXPECT_NEAR(+t.EnergyWp, p * 20 / 3.6e6, 0.05 * std::fabs(p) * 20 / 3.6e6);
  EXPECT_NEAR(+t.EnergyWpNegative, -t.EnergyWp, 1e-12);
  EXPECT_EQ(+t.EnergyWpPositive, 0);
  EXPECT_GT(+t.EnergyKvah, std::fabs(+t.EnergyWp));
  EXPECT_NEAR(+meter.Reading().Channel[0].EnergyNegative, -meter.Reading().Channel[0].EnergyKwh,
              1e-12);
}

TEST(SimulatedMeter, DemandIsTheMeanOverTheWindow) {
  SimulatedMeter meter(Get("balanced"), 1);
  meter.AdvanceTo(40.0);
  const float thirty = +meter.Reading().ThreePhase.DemandActivePower;
  InstrumentSetupData setup = meter.Setup();
  setup.DemandWindow = 1;
  ASSERT_TRUE(meter.SetSetup(setup));
  meter.AdvanceTo(40.0);
  const float one = +meter.Reading().ThreePhase.DemandActivePower;
  const float now = +meter.Reading().ThreePhase.TotalActivePower;
  // The load drifts by a few per cent: a one-second window follows it, thirty seconds smooth it.
  EXPECT_NE(one, thirty);
  EXPECT_NEAR(one, now, 0.01 * now);
  EXPECT_NEAR(thirty, now, 0.06 * now);
}

TEST(SimulatedMeter, WrittenSettingsTakeEffectInTheNextReading) {
  SimulatedMeter meter(Get("nonlinear"), 1);
  const float broad = +meter.Reading().Channel[0].CurrentHarmonics[25];
  InstrumentSetupData setup = meter.Setup();
  setup.InputWiring = kWiringThreeWire3VT3CT;
  setup.CurrentBandwidth = 0;
  setup.PhaseTrigger = 0;
  ASSERT_TRUE(meter.SetSetup(setup));
  meter.AdvanceTo(0.0);
  const MeasurementSet& m = meter.Reading();
  for (const ChannelBlock& b : m.Channel) {
    EXPECT_EQ(+b.Wiring, kWiringThreeWire3VT3CT);
    EXPECT_EQ(+b.Bandwidth, 0);
    EXPECT_EQ(+b.TriggerMode, 0);
  }
  // The narrow band's 5 kHz low-pass damps order 25 (1250 Hz) by about 3 %.
  EXPECT_LT(+m.Channel[0].CurrentHarmonics[25], 0.985f * broad);
  // Three transformers in star remove the zero sequence.
  EXPECT_LT(+m.ThreePhase.VoltageZeroSeq, 0.5f);

  setup.DemandWindow = 31;
  EXPECT_FALSE(meter.SetSetup(setup));
  EXPECT_EQ(meter.Setup().DemandWindow, 30);
}

TEST(SimulatedMeter, AManualRangeSaturatesTheInputsAndAutoDoesNot) {
  SimulatedMeter meter(Get("balanced"), 1);
  meter.AdvanceTo(0.0);
  const float peak = +meter.Reading().Channel[0].CurrentPeak;
  ASSERT_GT(peak, 10.0f);  // above the smallest range
  InstrumentSetupData setup = meter.Setup();
  setup.RangeMode = 1;
  setup.CurrentRange = 1;
  setup.VoltageRange = 1;
  ASSERT_TRUE(meter.SetSetup(setup));
  meter.AdvanceTo(0.2);
  EXPECT_LE(+meter.Reading().Channel[0].CurrentPeak, kCurrentRangePeak[0] + 0.01);
  EXPECT_LE(+meter.Reading().Channel[0].VoltagePeak, kVoltageRangePeak[0] + 0.05);
  setup.RangeMode = 0;
  ASSERT_TRUE(meter.SetSetup(setup));
  meter.AdvanceTo(0.4);
  EXPECT_NEAR(+meter.Reading().Channel[0].CurrentPeak, peak, 0.05f * peak);
}

TEST(SimulatedMeter, RecordStartsAtTheRisingZeroOfChannelOne) {
  for (uint8_t trigger : {0, 1}) {
    SimulatedMeter meter(Get("nonlinear"), 3);
    InstrumentSetupData setup = meter.Setup();
    setup.PhaseTrigger = trigger;
    ASSERT_TRUE(meter.SetSetup(setup));
    meter.AdvanceTo(0.4);
    const ChannelBlock& b = meter.Reading().Channel[0];
    std::vector<double> v(+b.VoltageWave, +b.VoltageWave + kWaveSamples);
    const double angle = std::arg(HarmonicPhasor(v, 1, kRecordPeriods)) * 180 / std::numbers::pi;
    if (trigger == 1) {
      EXPECT_NEAR(angle, -90, 1.0);  // the fundamental starts as a sine
    } else {
      EXPECT_LT(std::abs(+b.VoltageWave[0]), 0.02 * 325 / kVoltsPerCount);
      EXPECT_GT(+b.VoltageWave[2], +b.VoltageWave[0]);
    }
  }
}

TEST(SimulatedMeter, CalibrationChangesReadingsOnlyWhenUnlocked) {
  SimulatedMeter meter(Get("balanced"), 1);
  EXPECT_FALSE(meter.CalibrateVoltage(0, 220.05f));
  meter.SetCalibrationUnlocked(true);
  ASSERT_TRUE(meter.CalibrateVoltage(0, 220.05f));
  ASSERT_TRUE(meter.CalibrateCurrent(1, 8.0f));
  meter.AdvanceTo(0.0);
  EXPECT_NEAR(+meter.Reading().Channel[0].VoltageTrms, 220.05, 0.5);
  EXPECT_NEAR(+meter.Reading().Channel[1].CurrentTrms, 8.0, 0.05);

  const float before = +meter.Reading().Channel[2].CurrentPhase;
  const int band = meter.Setup().CurrentBandwidth;
  ASSERT_TRUE(meter.SetPhaseCorrection(2, band, meter.PhaseCorrection(2, band) + 2.0f));
  EXPECT_FALSE(meter.SetPhaseCorrection(2, band, 30.5f));
  meter.AdvanceTo(0.0);
  EXPECT_NEAR(+meter.Reading().Channel[2].CurrentPhase, before - 2.0f, 0.05);
}

}  // namespace
