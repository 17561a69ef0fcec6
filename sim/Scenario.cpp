#include "sim/Scenario.h"

#include "display/MeasurementModel.h"

namespace {

// A slightly distorted public supply: a few per cent of low odd orders.
std::vector<HarmonicPart> MainsVoltage() {
  return {{3, 0.004, 0}, {5, 0.012, 180}, {7, 0.006, 0}, {11, 0.003, 180}, {13, 0.002, 0}};
}

// The flat-topped supply of a network feeding many rectifiers.
std::vector<HarmonicPart> FlatToppedVoltage() {
  return {{3, 0.018, 0},  {5, 0.031, 180},  {7, 0.016, 0},  {9, 0.006, 180},
          {11, 0.008, 0}, {13, 0.005, 180}, {15, 0.002, 0}, {17, 0.002, 180}};
}

// An induction motor or similar: the current follows the voltage's distortion, damped
// by the reactance at the higher orders.
std::vector<HarmonicPart> LinearLoadCurrent() {
  return {{3, 0.002, -80}, {5, 0.004, 100}, {7, 0.0015, -85}, {11, 0.0006, 95}};
}

// A single-phase rectifier with a smoothing capacitor: short pulses at the voltage peaks.
// The phases make all odd orders peak together in the middle of each half-wave.
std::vector<HarmonicPart> RectifierCurrent() {
  const double ratio[] = {0.78,  0.55,  0.33,  0.16,  0.075, 0.065,
                          0.045, 0.025, 0.018, 0.014, 0.01,  0.008};
  std::vector<HarmonicPart> parts;
  for (int k = 0; k < 12; ++k) {
    const int order = 3 + 2 * k;
    // sin(h x + (1 - h) 90) peaks at x = 90 for every odd h.
    parts.push_back({order, ratio[k], (1 - order) * 90.0});
  }
  return parts;
}

// A three-phase six-pulse drive: orders 6k +- 1.
std::vector<HarmonicPart> SixPulseCurrent() {
  return {{5, 0.32, 180},  {7, 0.12, 0},   {11, 0.065, 180}, {13, 0.045, 0},
          {17, 0.03, 180}, {19, 0.022, 0}, {23, 0.015, 180}, {25, 0.012, 0}};
}

PhaseSource Source(double volts, double angle, std::vector<HarmonicPart> harmonics) {
  return {volts, angle, std::move(harmonics)};
}

const std::vector<Scenario>& AllScenarios() {
  static const std::vector<Scenario> scenarios = {
      {"balanced",
       "three-phase four-wire 230 V / 50 Hz, balanced linear load of 10 A at PF 0.92 lagging",
       50.0,
       kWiringFourWire,
       true,
       {Source(230, 0, MainsVoltage()), Source(230, -120, MainsVoltage()),
        Source(230, 120, MainsVoltage())},
       {{10, 23.07, LinearLoadCurrent()},
        {10, 23.07, LinearLoadCurrent()},
        {10, 23.07, LinearLoadCurrent()}}},
      {"nonlinear",
       "three-phase four-wire 230 V / 50 Hz, rectifier loads of 9 A rich in odd harmonics",
       50.0,
       kWiringFourWire,
       true,
       {Source(230, 0, FlatToppedVoltage()), Source(230, -120, FlatToppedVoltage()),
        Source(230, 120, FlatToppedVoltage())},
       {{9, -6, RectifierCurrent()}, {8.6, -5, RectifierCurrent()}, {9.3, -7, RectifierCurrent()}}},
      {"unbalanced",
       "three-phase four-wire 50 Hz, unequal phase voltages and loads of 14, 7 and 3 A",
       50.0,
       kWiringFourWire,
       true,
       {Source(236, 0, MainsVoltage()), Source(226, -121.8, MainsVoltage()),
        Source(219, 118.4, MainsVoltage())},
       {{14, 18, LinearLoadCurrent()}, {7, 32, LinearLoadCurrent()}, {3, 45, LinearLoadCurrent()}}},
      {"single-phase",
       "single-phase 230 V / 50 Hz, one circuit per channel: heater, motor, computer supply",
       50.0,
       kWiringSinglePhase,
       true,
       {Source(230, 0, MainsVoltage()), Source(230, 0, MainsVoltage()),
        Source(230, 0, MainsVoltage())},
       {{8.7, 1, {}}, {4.5, 38, LinearLoadCurrent()}, {1.6, -8, RectifierCurrent()}}},
      {"60hz",
       "three-phase four-wire 120/208 V / 60 Hz, balanced linear load of 16 A at PF 0.88",
       60.0,
       kWiringFourWire,
       true,
       {Source(120, 0, MainsVoltage()), Source(120, -120, MainsVoltage()),
        Source(120, 120, MainsVoltage())},
       {{16, 28.36, LinearLoadCurrent()},
        {16, 28.36, LinearLoadCurrent()},
        {16, 28.36, LinearLoadCurrent()}}},
      {"three-wire",
       "three-phase three-wire 400 V / 50 Hz, six-pulse drive of 20 A, two-element wiring",
       50.0,
       kWiringThreeWire,
       false,
       {Source(230.9, 0, MainsVoltage()), Source(230.9, -120, MainsVoltage()),
        Source(230.9, 120, MainsVoltage())},
       {{20, 12, SixPulseCurrent()}, {20, 12, SixPulseCurrent()}, {20, 12, SixPulseCurrent()}}},
      {"export",
       "three-phase four-wire 230 V / 50 Hz, a generator feeding 12 A back into the supply",
       50.0,
       kWiringFourWire,
       true,
       {Source(231, 0, MainsVoltage()), Source(231, -120, MainsVoltage()),
        Source(231, 120, MainsVoltage())},
       {{12, 172, {{5, 0.02, 0}, {7, 0.012, 0}}},
        {12, 172, {{5, 0.02, 0}, {7, 0.012, 0}}},
        {12, 172, {{5, 0.02, 0}, {7, 0.012, 0}}}}},
  };
  return scenarios;
}

}  // namespace

std::span<const Scenario> Scenarios() {
  return AllScenarios();
}

const Scenario* FindScenario(std::string_view name) {
  for (const Scenario& scenario : AllScenarios())
    if (scenario.name == name) return &scenario;
  return nullptr;
}
