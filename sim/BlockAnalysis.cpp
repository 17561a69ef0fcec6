#include "sim/BlockAnalysis.h"

#include <cmath>
#include <numbers>

namespace {

constexpr double kMinimumVoltage = 1.0;   // V: below it a channel has no voltage
constexpr double kMinimumCurrent = 0.01;  // A

float F(double value) {
  return static_cast<float>(value);
}

Record Difference(const Record& a, const Record& b) {
  Record d;
  for (size_t k = 0; k < d.size(); ++k) d[k] = a[k] - b[k];
  return d;
}

Record Negated(const Record& a) {
  Record d;
  for (size_t k = 0; k < d.size(); ++k) d[k] = -a[k];
  return d;
}

}  // namespace

ChannelAnalysis AnalyseChannel(const Record& v, const Record& i, double sampleRate,
                               double nominalHz) {
  ChannelAnalysis a;
  const double vRms = Rms(v);
  const double iRms = Rms(i);
  if (vRms >= kMinimumVoltage) {
    a.frequency = RecordFrequency(v, sampleRate);
  } else if (iRms >= kMinimumCurrent) {
    a.frequency = RecordFrequency(i, sampleRate);
  }
  const double f = a.frequency > 0 ? a.frequency : nominalHz;
  a.voltage = AnalyseSignal(v, f);
  a.current = AnalyseSignal(i, f);
  a.power = AnalysePower(v, i, a.voltage, a.current);
  return a;
}

void FillChannelQuantities(ChannelBlock& b, const ChannelAnalysis& a,
                           std::complex<double> reference) {
  const SignalQuantities& v = a.voltage;
  const SignalQuantities& i = a.current;
  b.VoltageTrms = F(v.Trms);
  b.VoltagePeak = F(v.Peak);
  b.VoltagePeakToPeak = F(v.PeakToPeak);
  b.Frequency = F(a.frequency);
  b.VoltagePhase = F(RelativeAngleDegrees(v.Phasors[1], reference));
  b.VoltageCrestFactor = F(v.CrestFactor);
  b.VoltageFormFactor = F(v.FormFactor);
  b.VoltageMean = F(v.Mean);
  b.VoltageRectifiedMean = F(v.RectifiedMean);
  b.VoltageThdF = F(v.ThdF);
  b.VoltageThdR = F(v.ThdR);
  b.VoltageTif = F(v.Tif);
  b.VoltageThf = F(v.Thf);
  b.VoltageFfcr = F(v.Ffcr);
  b.VoltageKFactor = F(v.KFactor);
  b.CurrentTrms = F(i.Trms);
  b.CurrentPeak = F(i.Peak);
  b.CurrentPeakToPeak = F(i.PeakToPeak);
  b.CurrentPhase = F(RelativeAngleDegrees(i.Phasors[1], reference));
  b.CurrentCrestFactor = F(i.CrestFactor);
  b.CurrentFormFactor = F(i.FormFactor);
  b.CurrentMean = F(i.Mean);
  b.CurrentRectifiedMean = F(i.RectifiedMean);
  b.CurrentThdF = F(i.ThdF);
  b.CurrentThdR = F(i.ThdR);
  b.CurrentTif = F(i.Tif);
  b.CurrentThf = F(i.Thf);
  b.CurrentFfcr = F(i.Ffcr);
  b.CurrentKFactor = F(i.KFactor);
  b.ActivePower = F(a.power.Active);
  b.ApparentPower = F(a.power.Apparent);
  b.ReactivePower = F(a.power.Reactive);
  b.PowerFactor = F(a.power.Factor);
  b.PeakPower = F(a.power.Peak);
  b.Impedance = F(a.power.Impedance);
  for (int order = 0; order < kHarmonicOrders; ++order) {
    b.VoltageHarmonics[order] = F(v.Harmonics[order]);
    b.CurrentHarmonics[order] = F(i.Harmonics[order]);
  }
}

ThreePhaseFigures AnalyseThreePhase(uint8_t wiring, const ChannelRecords& r,
                                    const ChannelAnalysis (&a)[3]) {
  ThreePhaseFigures f;
  if (wiring == kWiringThreeWire) {
    // Aron: P = Uab Ia + Ucb Ic. The line voltages are Uab, Ubc = -Ucb, Uca = Ucb - Uab,
    // and the current Ib = -(Ia + Ic) of a three-wire system.
    const Record ubc = Negated(r.v[1]);
    const Record uca = Difference(r.v[1], r.v[0]);
    f.lineVoltage[0] = Rms(r.v[0]);
    f.lineVoltage[1] = Rms(ubc);
    f.lineVoltage[2] = Rms(uca);
    f.totalActive = a[0].power.Active + a[1].power.Active;
    f.totalReactive = a[0].power.Budeanu + a[1].power.Budeanu;
    f.totalApparent = std::hypot(f.totalActive, f.totalReactive);

    const std::complex<double> lab = a[0].voltage.Phasors[1];
    const std::complex<double> lbc = -a[1].voltage.Phasors[1];
    const SequenceComponents line = Fortescue(lab, lbc, -(lab + lbc));
    // Phase-equivalent values of the line sequences; no zero sequence can be measured.
    const double toPhase = 1 / std::numbers::sqrt3;
    f.voltage = {0.0, line.Positive * toPhase, line.Negative * toPhase};
    f.vuf = UnbalanceFactor(line);
    f.pvur = DeviationUnbalance(f.lineVoltage[0], f.lineVoltage[1], f.lineVoltage[2]);

    const std::complex<double> ia = a[0].current.Phasors[1];
    const std::complex<double> ic = a[1].current.Phasors[1];
    f.current = Fortescue(ia, -(ia + ic), ic);
    f.current.Zero = 0;
    Record ib;
    for (size_t k = 0; k < ib.size(); ++k) ib[k] = -(r.i[0][k] + r.i[1][k]);
    f.cuf = UnbalanceFactor(f.current);
    f.pcur = DeviationUnbalance(a[0].current.Trms, Rms(ib), a[1].current.Trms);
    return f;
  }

  for (const ChannelAnalysis& c : a) {
    f.totalActive += c.power.Active;
    f.totalApparent += c.power.Apparent;
    f.totalReactive += c.power.Reactive;
  }
  if (wiring != kWiringFourWire && wiring != kWiringThreeWire3VT3CT) return f;

  f.lineVoltage[0] = Rms(Difference(r.v[0], r.v[1]));
  f.lineVoltage[1] = Rms(Difference(r.v[1], r.v[2]));
  f.lineVoltage[2] = Rms(Difference(r.v[2], r.v[0]));
  f.voltage = Fortescue(a[0].voltage.Phasors[1], a[1].voltage.Phasors[1], a[2].voltage.Phasors[1]);
  f.current = Fortescue(a[0].current.Phasors[1], a[1].current.Phasors[1], a[2].current.Phasors[1]);
  f.vuf = UnbalanceFactor(f.voltage);
  f.cuf = UnbalanceFactor(f.current);
  f.pvur = DeviationUnbalance(a[0].voltage.Trms, a[1].voltage.Trms, a[2].voltage.Trms);
  f.pcur = DeviationUnbalance(a[0].current.Trms, a[1].current.Trms, a[2].current.Trms);
  return f;
}

void FillThreePhaseQuantities(ThreePhaseBlock& b, const ThreePhaseFigures& f) {
  b.LineVoltageAB = F(f.lineVoltage[0]);
  b.LineVoltageBC = F(f.lineVoltage[1]);
  b.LineVoltageCA = F(f.lineVoltage[2]);
  b.TotalActivePower = F(f.totalActive);
  b.TotalApparentPower = F(f.totalApparent);
  b.TotalReactivePower = F(f.totalReactive);
  b.VoltagePositiveSeq = F(std::abs(f.voltage.Positive));
  b.VoltageNegativeSeq = F(std::abs(f.voltage.Negative));
  b.VoltageZeroSeq = F(std::abs(f.voltage.Zero));
  b.VoltageUnbalanceVuf = F(f.vuf);
  b.VoltageUnbalancePvur = F(f.pvur);
  b.CurrentPositiveSeq = F(std::abs(f.current.Positive));
  b.CurrentNegativeSeq = F(std::abs(f.current.Negative));
  b.CurrentZeroSeq = F(std::abs(f.current.Zero));
  b.CurrentUnbalanceCuf = F(f.cuf);
  b.CurrentUnbalancePcur = F(f.pcur);
}
