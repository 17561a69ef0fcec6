#include "display/PageValueTable.h"

#include <cstring>

#include "display/ValueFormat.h"

namespace {

constexpr float k3 = 1000;  // scale and divisor of three decimals
constexpr float k10 = 10;   // one decimal; as divisor under a scale of 1000, a percent

// The field's name and its place in the block.
#define CH(field) #field, offsetof(ChannelBlock, field)
#define TP(field) #field, offsetof(ThreePhaseBlock, field)

// clang-format off
const ChannelValueField kChannelFields[] = {
  {0, 0, 0, "TRMS", CH(VoltageTrms), false, {" V", " V", " V"}, {6, 6, 6}, k3, k3, {"Label3", "Label22", "Label252"}},
  {0, 0, 1, "Peak", CH(VoltagePeak), false, {" V", " V", " V"}, {6, 6, 6}, k3, k3, {"Label6", "Label27", "Label255"}},
  {0, 0, 2, "P - P", CH(VoltagePeakToPeak), false, {" V", " V", " V"}, {6, 6, 6}, k3, k3, {"Label7", "Label28", "Label256"}},
  {0, 1, 0, "Frequency", CH(Frequency), false, {" Hz", " Hz", " Hz"}, {6, 6, 6}, k3, k3, {"Label10", "Label36", "Label258"}},
  {0, 1, 1, "Phase", CH(VoltagePhase), false, {" deg", " deg", " deg"}, {5, 5, 5}, k10, k10, {"Label13", "Label197", "Label261"}},
  {0, 1, 2, "CF", CH(VoltageCrestFactor), false, {" ", " ", " "}, {5, 6, 6}, k3, k3, {"Label14", "Label204", "Label262"}},
  {0, 2, 0, "FF", CH(VoltageFormFactor), false, {" ", " ", " "}, {5, 6, 6}, k3, k3, {"Label17", "Label210", "Label264"}},
  {0, 2, 1, "Mean", CH(VoltageMean), false, {" V", " V", " V"}, {6, 6, 6}, k3, k3, {"Label20", "Label213", "Label267"}},
  {0, 2, 2, "RMEAN", CH(VoltageRectifiedMean), false, {"V", " V", " V"}, {6, 6, 6}, k3, k3, {"Label21", "Label214", "Label268"}},
  {0, 3, 0, "THD-F", CH(VoltageThdF), false, {" %", " %", " %"}, {5, 6, 6}, k3, k10, {"Label24", "Label216", "Label270"}},
  {0, 3, 1, "THD-R", CH(VoltageThdR), false, {" %", " %", " %"}, {5, 6, 6}, k3, k10, {"Label305", "Label309", "Label313"}},
  {0, 3, 2, "TIF", CH(VoltageTif), false, {" ", " ", " "}, {6, 6, 6}, k3, k3, {"Label308", "Label312", "Label316"}},
  {0, 4, 0, "THF", CH(VoltageThf), false, {" %", " %", " %"}, {6, 6, 6}, k3, k10, {"Label341", "Label417", "Label429"}},
  {0, 4, 1, "FFCR", CH(VoltageFfcr), false, {" %", " %", "%"}, {6, 6, 6}, k3, k10, {"Label344", "Label420", "Label432"}},
  {0, 4, 2, "K-Factor", CH(VoltageKFactor), false, {" ", " ", " "}, {6, 6, 6}, k3, k3, {"Label345", "Label421", "Label433"}},
  {1, 0, 0, "TRMS", CH(CurrentTrms), false, {" A", " A", " A"}, {6, 6, 6}, k3, k3, {"Label31", "Label218", "Label272"}},
  {1, 0, 1, "Peak", CH(CurrentPeak), false, {" A", " A", " A"}, {6, 6, 6}, k3, k3, {"Label34", "Label221", "Label275"}},
  {1, 0, 2, "P - P", CH(CurrentPeakToPeak), false, {" A", " A", " A"}, {6, 6, 6}, k3, k3, {"Label35", "Label222", "Label276"}},
  {1, 1, 0, "Phase", CH(CurrentPhase), false, {" deg", " deg", " deg"}, {6, 6, 6}, k10, k10, {"Label38", "Label224", "Label278"}},
  {1, 1, 1, "CF", CH(CurrentCrestFactor), false, {" ", " ", " "}, {6, 6, 6}, k3, k3, {"Label41", "Label227", "Label281"}},
  {1, 1, 2, "FF", CH(CurrentFormFactor), false, {" ", " ", " "}, {6, 6, 6}, k3, k3, {"Label42", "Label228", "Label282"}},
  {1, 2, 0, "Mean", CH(CurrentMean), false, {" A", " A", " A"}, {6, 6, 6}, k3, k3, {"Label45", "Label230", "Label284"}},
  {1, 2, 1, "RMEAN", CH(CurrentRectifiedMean), false, {" A", " A", " A"}, {6, 6, 6}, k3, k3, {"Label113", "Label232", "Label286"}},
  {1, 3, 0, "THD-F", CH(CurrentThdF), false, {" %", " %", " %"}, {6, 6, 6}, k3, k10, {"Label318", "Label324", "Label330"}},
  {1, 3, 1, "THD-R", CH(CurrentThdR), false, {" %", " %", " %"}, {6, 6, 6}, k3, k10, {"Label319", "Label325", "Label331"}},
  {1, 3, 2, "TIF", CH(CurrentTif), false, {" ", " ", " "}, {6, 6, 6}, k3, k3, {"Label322", "Label328", "Label334"}},
  {1, 4, 0, "THF", CH(CurrentThf), false, {" %", " %", " %"}, {6, 6, 6}, k3, k10, {"Label411", "Label423", "Label435"}},
  {1, 4, 1, "FFCR", CH(CurrentFfcr), false, {" %", " %", " %"}, {6, 6, 6}, k3, k10, {"Label414", "Label426", "Label438"}},
  {1, 4, 2, "K-Factor", CH(CurrentKFactor), false, {" ", " ", " "}, {6, 6, 6}, k3, k3, {"Label415", "Label427", "Label439"}},
  {2, 0, 0, "Power", CH(ActivePower), false, {" W", " W", " W"}, {6, 6, 6}, k3, k3, {"Label192", "Label236", "Label290"}},
  {2, 0, 1, "S", CH(ApparentPower), false, {" VA", " VA", " VA"}, {6, 6, 6}, k3, k3, {"Label195", "Label238", "Label292"}},
  {2, 0, 2, "Q", CH(ReactivePower), false, {" VAR", " VAR", " VAR"}, {6, 6, 6}, k3, k3, {"Label335", "Label336", "Label337"}},
  {2, 1, 0, "PF", CH(PowerFactor), false, {" ", " ", " "}, {6, 6, 6}, k3, k3, {"Label199", "Label240", "Label294"}},
  {2, 1, 1, "PeakPower", CH(PeakPower), false, {" W", " W", " W"}, {6, 6, 6}, k3, k3, {"Label202", "Label243", "Label297"}},
  {2, 1, 2, "Impedance", CH(Impedance), false, {" \u03A9", " \u03A9", " \u03A9"}, {6, 6, 6}, k3, k3, {"Label203", "Label244", "Label298"}},
  {2, 2, 0, "KWH", CH(EnergyKwh), true, {" ", " ", " "}, {9, 9, 9}, k3, k3, {"Label206", "Label246", "Label300"}},
  {2, 2, 1, "WP+", CH(EnergyPositive), true, {" ", " ", " "}, {9, 9, 9}, k3, k3, {"Label208", "Label248", "Label302"}},
  {2, 2, 2, "WP-", CH(EnergyNegative), true, {" ", " ", " "}, {9, 9, 9}, k3, k3, {"Label196", "Label249", "Label303"}},
};
// clang-format on

// clang-format off
const ThreePhaseValueField kThreePhaseFields[] = {
  {0, 0, 0, "U1", 0, CH(VoltageTrms), false, " V", 6, k3, k3, "Label68"},
  {0, 0, 1, "U2", 1, CH(VoltageTrms), false, " V", 6, k3, k3, "Label71"},
  {0, 0, 2, "U3", 2, CH(VoltageTrms), false, " V", 6, k3, k3, "Label72"},
  {0, 1, 0, "I1", 0, CH(CurrentTrms), false, " A", 6, k3, k3, "Label79"},
  {0, 1, 1, "I2", 1, CH(CurrentTrms), false, " A", 6, k3, k3, "Label82"},
  {0, 1, 2, "I3", 2, CH(CurrentTrms), false, " A", 6, k3, k3, "Label83"},
  {0, 2, 0, "P1", 0, CH(ActivePower), false, " W", 6, k3, k3, "Label85"},
  {0, 2, 1, "P2", 1, CH(ActivePower), false, " W", 6, k3, k3, "Label88"},
  {0, 2, 2, "P3", 2, CH(ActivePower), false, " W", 6, k3, k3, "Label89"},
  {0, 3, 0, "PF1", 0, CH(PowerFactor), false, " ", 6, k3, k3, "Label91"},
  {0, 3, 1, "PF2", 1, CH(PowerFactor), false, " ", 6, k3, k3, "Label94"},
  {0, 3, 2, "PF3", 2, CH(PowerFactor), false, " ", 6, k3, k3, "Label95"},
  {0, 4, 0, "\u03A6U1", 0, CH(VoltagePhase), false, " deg", 5, k10, k10, "Label129"},
  {0, 4, 1, "\u03A6U2", 1, CH(VoltagePhase), false, " deg", 5, k10, k10, "Label132"},
  {0, 4, 2, "\u03A6U3", 2, CH(VoltagePhase), false, " deg", 5, k10, k10, "Label133"},
  {0, 5, 0, "\u03A6I1", 0, CH(CurrentPhase), false, " deg", 5, k10, k10, "Label122"},
  {0, 5, 1, "\u03A6I2", 1, CH(CurrentPhase), false, " deg", 5, k10, k10, "Label125"},
  {0, 5, 2, "\u03A6I3", 2, CH(CurrentPhase), false, " deg", 5, k10, k10, "Label126"},
  {0, 6, 0, "Uab", kThreePhaseSource, TP(LineVoltageAB), false, " V", 6, k3, k3, "Label115"},
  {0, 6, 1, "Ubc", kThreePhaseSource, TP(LineVoltageBC), false, " V", 6, k3, k3, "Label118"},
  {0, 6, 2, "Uca", kThreePhaseSource, TP(LineVoltageCA), false, " V", 6, k3, k3, "Label119"},
  {0, 7, 0, "Power", kThreePhaseSource, TP(TotalActivePower), false, " W", 6, k3, k3, "Label56"},
  {0, 7, 1, "S", kThreePhaseSource, TP(TotalApparentPower), false, " VA", 6, k3, k3, "Label59"},
  {0, 7, 2, "Q", kThreePhaseSource, TP(TotalReactivePower), false, " VAR", 6, k3, k3, "Label60"},
  {1, 0, 0, "P", kThreePhaseSource, TP(VoltagePositiveSeq), false, " V", 6, k3, k3, "Label97"},
  {1, 0, 1, "N", kThreePhaseSource, TP(VoltageNegativeSeq), false, " V", 6, k3, k3, "Label100"},
  {1, 0, 2, "Z", kThreePhaseSource, TP(VoltageZeroSeq), false, " V", 6, k3, k3, "Label101"},
  {1, 1, 0, "P", kThreePhaseSource, TP(CurrentPositiveSeq), false, " A", 6, k3, k3, "Label103"},
  {1, 1, 1, "N", kThreePhaseSource, TP(CurrentNegativeSeq), false, " A", 6, k3, k3, "Label106"},
  {1, 1, 2, "Z", kThreePhaseSource, TP(CurrentZeroSeq), false, " A", 6, k3, k3, "Label107"},
  {1, 2, 0, "Voltage", kThreePhaseSource, TP(VoltageUnbalanceVuf), false, " %", 6, k3, k10, "Label109"},
  {1, 2, 1, "Current", kThreePhaseSource, TP(CurrentUnbalanceCuf), false, " %", 6, k3, k10, "Label112"},
  {1, 3, 0, "Voltage", kThreePhaseSource, TP(VoltageUnbalancePvur), false, " %", 6, k3, k10, "Label163"},
  {1, 3, 1, "Current", kThreePhaseSource, TP(CurrentUnbalancePcur), false, " %", 6, k3, k10, "Label166"},
  {2, 0, 0, "P", kThreePhaseSource, TP(DemandActivePower), false, " W", 6, k3, k3, "Label175"},
  {2, 0, 1, "S", kThreePhaseSource, TP(DemandApparentPower), false, " VA", 6, k3, k3, "Label178"},
  {2, 0, 2, "Q", kThreePhaseSource, TP(DemandReactivePower), false, " VAR", 6, k3, k3, "Label179"},
  {2, 1, 0, "WP", kThreePhaseSource, TP(EnergyWp), true, " ", 9, k3, k3, "Label181"},
  {2, 1, 1, "WP+", kThreePhaseSource, TP(EnergyWpPositive), true, " ", 9, k3, k3, "Label184"},
  {2, 1, 2, "WP-", kThreePhaseSource, TP(EnergyWpNegative), true, " ", 9, k3, k3, "Label185"},
  {2, 2, 0, "KvaH", kThreePhaseSource, TP(EnergyKvah), true, " ", 9, k3, k3, "Label187"},
  {2, 2, 1, "KvarH", kThreePhaseSource, TP(EnergyKvarh), true, " ", 9, k3, k3, "Label190"},
};
// clang-format on
#undef CH
#undef TP

}  // namespace

// Fields are read by copying bytes, since the packed blocks have no alignment of their own.
double BlockNumber(const void* block, size_t offset, bool counter) {
  const char* at = static_cast<const char*>(block) + offset;
  if (counter) {
    double value;
    std::memcpy(&value, at, sizeof value);
    return value;
  }
  float value;
  std::memcpy(&value, at, sizeof value);
  return value;
}

const char* const kChannelBoxTitles[3] = {"Voltage", "Current", "Comprehensive"};
const char* const kThreePhaseBoxTitles[3] = {"Comprehensive", "Unbalance", "Integration"};

std::span<const ChannelValueField> ChannelValueFields() {
  return kChannelFields;
}

QString ChannelPageTitle(int channel) {
  return QString("Channel %1").arg(channel);
}

double ChannelFieldNumber(const ChannelValueField& field, const ChannelBlock& block) {
  return BlockNumber(&block, field.offset, field.counter);
}

QString ChannelValueText(const ChannelValueField& field, const ChannelBlock& block, int channel) {
  const int c = channel < 1 ? 0 : channel > 3 ? 2 : channel - 1;
  const QString unit = QString::fromUtf8(field.units[c]);
  const double number = ChannelFieldNumber(field, block);
  if (field.counter) return CounterValueText(unit, field.scale, field.divisor, number);
  return MeasuredValueText(unit, field.widths[c], field.scale, field.divisor,
                           static_cast<float>(number));
}

std::span<const ThreePhaseValueField> ThreePhaseValueFields() {
  return kThreePhaseFields;
}

double ThreePhaseFieldNumber(const ThreePhaseValueField& field, const MeasurementSet& set) {
  const void* block = field.channel == kThreePhaseSource
                          ? static_cast<const void*>(&set.ThreePhase)
                          : static_cast<const void*>(&set.Channel[field.channel]);
  return BlockNumber(block, field.offset, field.counter);
}

bool ThreePhaseValueAvailable(const ThreePhaseValueField& field, uint8_t wiring) {
  return field.box != 1 || wiring == kWiringFourWire;
}

QString ThreePhaseValueText(const ThreePhaseValueField& field, const MeasurementSet& set,
                            uint8_t wiring) {
  if (!ThreePhaseValueAvailable(field, wiring)) return "NSF";
  const bool fourWire = wiring == kWiringFourWire;
  const bool lineVoltage = field.box == 0 && field.row == 6;
  const QString unit = lineVoltage && fourWire ? QString("V") : QString::fromUtf8(field.unit);
  const double number = ThreePhaseFieldNumber(field, set);
  if (field.counter) return CounterValueText(unit, field.scale, field.divisor, number);
  return MeasuredValueText(unit, field.width, field.scale, field.divisor,
                           static_cast<float>(number));
}
