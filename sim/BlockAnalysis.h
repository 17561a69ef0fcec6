#pragma once
// From the sampled records of the three channels to the quantities of the channel blocks
// and the three-phase block. Pure functions: the energy counters and the demand, which
// need time, are left to the caller.

#include <array>
#include <cstdint>
#include <span>

#include "display/MeasurementModel.h"
#include "sim/PowerAnalysis.h"
#include "sim/SignalAnalysis.h"

using Record = std::array<double, kWaveSamples>;

struct ChannelRecords {
  Record v[3];
  Record i[3];
  double sampleRate = 0;  // samples a second
};

struct ChannelAnalysis {
  SignalQuantities voltage;
  SignalQuantities current;
  ElementPower power;
  double frequency = 0;
};

// Frequency from the voltage, or from the current on a channel without voltage.
ChannelAnalysis AnalyseChannel(const Record& v, const Record& i, double sampleRate,
                               double nominalHz);

// Fills the measured quantities of a channel block (not the sample arrays, energies or
// settings bytes). Phases are relative to `reference`, the fundamental of channel 1's
// voltage.
void FillChannelQuantities(ChannelBlock& block, const ChannelAnalysis& a,
                           std::complex<double> reference);

struct ThreePhaseFigures {
  double lineVoltage[3] = {};  // AB, BC, CA
  double totalActive = 0, totalApparent = 0, totalReactive = 0;
  SequenceComponents voltage{}, current{};
  double vuf = 0, pvur = 0, cuf = 0, pcur = 0;
};

// The three-phase figures for a wiring (WiringCode). Four-wire and 3VT3CT: channel k
// measures phase k. Three-wire with two elements (Aron): channel 1 measures Uab and Ia,
// channel 2 Ucb and Ic; channel 3 is unused. Single-phase: only the totals.
ThreePhaseFigures AnalyseThreePhase(uint8_t wiring, const ChannelRecords& r,
                                    const ChannelAnalysis (&a)[3]);

// Writes the figures into the block (not the demand or energies).
void FillThreePhaseQuantities(ThreePhaseBlock& block, const ThreePhaseFigures& f);
