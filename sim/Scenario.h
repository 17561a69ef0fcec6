#pragma once
// The electrical systems the simulated instrument can be connected to: a source of three
// phase voltages and a load drawing three currents, each a fundamental with harmonics.

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

struct HarmonicPart {
  int order;
  double ratio;     // RMS relative to the fundamental
  double phaseDeg;  // added to h times the fundamental's angle
};

struct PhaseSource {
  double voltage;   // fundamental RMS, V
  double angleDeg;  // fundamental angle; phase A 0, B about -120, C about +120
  std::vector<HarmonicPart> harmonics;
};

struct PhaseLoad {
  double current;          // fundamental RMS, A
  double displacementDeg;  // current lags its voltage by this angle (negative: leads)
  std::vector<HarmonicPart> harmonics;
};

struct Scenario {
  std::string_view name;
  std::string_view description;
  double frequency;  // nominal, Hz
  uint8_t wiring;    // WiringCode the instrument starts with
  bool neutral;      // false: a three-wire load, the currents add up to zero
  PhaseSource source[3];
  PhaseLoad load[3];
};

std::span<const Scenario> Scenarios();
// nullptr when there is no scenario of that name.
const Scenario* FindScenario(std::string_view name);
