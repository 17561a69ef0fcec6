#include "sim/FaultPlan.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

#include "display/MeasurementModel.h"

namespace {

struct FieldInfo {
  std::string_view name;
  size_t offset;
  bool isDouble;
  bool perChannel;
};

#define CHANNEL_FLOAT(f) \
  { #f, offsetof(ChannelBlock, f), false, true }
#define CHANNEL_DOUBLE(f) \
  { #f, offsetof(ChannelBlock, f), true, true }
#define THREE_FLOAT(f) \
  { #f, offsetof(ThreePhaseBlock, f), false, false }
#define THREE_DOUBLE(f) \
  { #f, offsetof(ThreePhaseBlock, f), true, false }

constexpr FieldInfo kFields[] = {
    CHANNEL_FLOAT(VoltageTrms),
    CHANNEL_FLOAT(VoltagePeak),
    CHANNEL_FLOAT(VoltagePeakToPeak),
    CHANNEL_FLOAT(Frequency),
    CHANNEL_FLOAT(VoltagePhase),
    CHANNEL_FLOAT(VoltageCrestFactor),
    CHANNEL_FLOAT(VoltageFormFactor),
    CHANNEL_FLOAT(VoltageMean),
    CHANNEL_FLOAT(VoltageRectifiedMean),
    CHANNEL_FLOAT(VoltageThdF),
    CHANNEL_FLOAT(VoltageThdR),
    CHANNEL_FLOAT(VoltageTif),
    CHANNEL_FLOAT(VoltageThf),
    CHANNEL_FLOAT(VoltageFfcr),
    CHANNEL_FLOAT(VoltageKFactor),
    CHANNEL_FLOAT(CurrentTrms),
    CHANNEL_FLOAT(CurrentPeak),
    CHANNEL_FLOAT(CurrentPeakToPeak),
    CHANNEL_FLOAT(CurrentPhase),
    CHANNEL_FLOAT(CurrentCrestFactor),
    CHANNEL_FLOAT(CurrentFormFactor),
    CHANNEL_FLOAT(CurrentMean),
    CHANNEL_FLOAT(CurrentRectifiedMean),
    CHANNEL_FLOAT(CurrentThdF),
    CHANNEL_FLOAT(CurrentThdR),
    CHANNEL_FLOAT(CurrentTif),
    CHANNEL_FLOAT(CurrentThf),
    CHANNEL_FLOAT(CurrentFfcr),
    CHANNEL_FLOAT(CurrentKFactor),
    CHANNEL_FLOAT(ActivePower),
    CHANNEL_FLOAT(ApparentPower),
    CHANNEL_FLOAT(ReactivePower),
    CHANNEL_FLOAT(PowerFactor),
    CHANNEL_FLOAT(PeakPower),
    CHANNEL_FLOAT(Impedance),
    CHANNEL_DOUBLE(EnergyKwh),
    CHANNEL_DOUBLE(EnergyPositive),
    CHANNEL_DOUBLE(EnergyNegative),
    THREE_FLOAT(LineVoltageAB),
    THREE_FLOAT(LineVoltageBC),
    THREE_FLOAT(LineVoltageCA),
    THREE_FLOAT(TotalActivePower),
    THREE_FLOAT(TotalApparentPower),
    THREE_FLOAT(TotalReactivePower),
    THREE_FLOAT(VoltagePositiveSeq),
    THREE_FLOAT(VoltageNegativeSeq),
    THREE_FLOAT(VoltageZeroSeq),
    THREE_FLOAT(VoltageUnbalanceVuf),
    THREE_FLOAT(VoltageUnbalancePvur),
    THREE_FLOAT(CurrentPositiveSeq),
    THREE_FLOAT(CurrentNegativeSeq),
    THREE_FLOAT(CurrentZeroSeq),
    THREE_FLOAT(CurrentUnbalanceCuf),
    THREE_FLOAT(CurrentUnbalancePcur),
    THREE_FLOAT(DemandActivePower),
    THREE_FLOAT(DemandApparentPower),
    THREE_FLOAT(DemandReactivePower),
    THREE_DOUBLE(EnergyWp),
    THREE_DOUBLE(EnergyWpPositive),
    THREE_DOUBLE(EnergyWpNegative),
    THREE_DOUBLE(EnergyKvah),
    THREE_DOUBLE(EnergyKvarh),
};

#undef CHANNEL_FLOAT
#undef CHANNEL_DOUBLE
#undef THREE_FLOAT
#undef THREE_DOUBLE

[[noreturn]] void Fail(std::string_view item, std::string_view why) {
  throw FaultSyntaxError("fault \"" + std::string(item) + "\": " + std::string(why));
}

int ParseCount(std::string_view item, std::string_view text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < 1)
    Fail(item, "expected a whole number of 1 or more, not \"" + std::string(text) + "\"");
  return value;
}

double ParseDuration(std::string_view item, std::string_view text) {
  double scale = 1;
  if (text.ends_with("ms")) {
    scale = 1e-3;
    text.remove_suffix(2);
  } else if (text.ends_with("s")) {
    text.remove_suffix(1);
  }
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || !(value >= 0) ||
      !std::isfinite(value))
    Fail(item, "expected a duration such as 2, 1.5s or 300ms, not \"" + std::string(text) + "\"");
  return value * scale;
}

// "TEXT/N" -> TEXT and N (1 when there is no "/N").
std::string_view SplitEvery(std::string_view item, std::string_view value, int& every) {
  const size_t slash = value.rfind('/');
  every = 1;
  if (slash == std::string_view::npos) return value;
  every = ParseCount(item, value.substr(slash + 1));
  return value.substr(0, slash);
}

FaultWindow ParseWindow(std::string_view item, std::string_view value) {
  const size_t colon = value.find(':');
  if (colon == std::string_view::npos) Fail(item, "expected PERIOD:LENGTH");
  FaultWindow w{ParseDuration(item, value.substr(0, colon)),
                ParseDuration(item, value.substr(colon + 1))};
  if (!(w.period > 0) || !(w.length > 0) || w.length >= w.period)
    Fail(item, "the length must be above 0 and below the period");
  return w;
}

void ParseNanFields(std::string_view item, std::string_view list, FaultPlan& plan) {
  while (!list.empty()) {
    const size_t plus = list.find('+');
    std::string_view one = list.substr(0, plus);
    list = plus == std::string_view::npos ? std::string_view() : list.substr(plus + 1);
    int channel = 0;  // 0: all three
    const size_t at = one.find('@');
    if (at != std::string_view::npos) {
      channel = ParseCount(item, one.substr(at + 1));
      if (channel > 3) Fail(item, "channels are 1 to 3");
      one = one.substr(0, at);
    }
    const FieldInfo* field = nullptr;
    for (const FieldInfo& f : kFields)
      if (f.name == one) field = &f;
    if (field == nullptr) Fail(item, "no field named \"" + std::string(one) + "\"");
    if (!field->perChannel) {
      if (channel != 0) Fail(item, std::string(one) + " is a three-phase field, it has no channel");
      plan.nanTargets.push_back(
          {offsetof(MeasurementSet, ThreePhase) + field->offset, field->isDouble});
      continue;
    }
    for (int ch = 1; ch <= 3; ++ch) {
      if (channel != 0 && ch != channel) continue;
      plan.nanTargets.push_back(
          {offsetof(MeasurementSet, Channel) + (ch - 1) * sizeof(ChannelBlock) + field->offset,
           field->isDouble});
    }
  }
}

}  // namespace

bool FaultWindow::Contains(double t) const {
  if (!Active() || t < period) return false;
  return std::fmod(t, period) < length;
}

bool FaultPlan::Empty() const {
  return dropEvery == 0 && crcEvery == 0 && truncateEvery == 0 && nanTargets.empty() &&
         delaySeconds == 0 && !silent.Active() && !vanish.Active();
}

FaultPlan ParseFaults(std::string_view text) {
  FaultPlan plan;
  while (!text.empty()) {
    const size_t comma = text.find(',');
    const std::string_view item = text.substr(0, comma);
    text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
    if (item.empty()) continue;
    const size_t equals = item.find('=');
    if (equals == std::string_view::npos) Fail(item, "expected NAME=VALUE");
    const std::string_view name = item.substr(0, equals);
    const std::string_view value = item.substr(equals + 1);
    if (name == "drop") {
      plan.dropEvery = ParseCount(item, value);
    } else if (name == "crc") {
      plan.crcEvery = ParseCount(item, value);
    } else if (name == "truncate") {
      plan.truncateEvery = ParseCount(item, value);
    } else if (name == "nan") {
      ParseNanFields(item, SplitEvery(item, value, plan.nanEvery), plan);
    } else if (name == "delay") {
      plan.delaySeconds = ParseDuration(item, SplitEvery(item, value, plan.delayEvery));
    } else if (name == "silent") {
      plan.silent = ParseWindow(item, value);
    } else if (name == "vanish") {
      plan.vanish = ParseWindow(item, value);
    } else {
      Fail(item, "unknown fault; known are drop, crc, truncate, nan, delay, silent, vanish");
    }
  }
  return plan;
}

void ApplyNanTargets(uint8_t* set, const std::vector<NanTarget>& targets) {
  for (const NanTarget& t : targets) {
    if (t.isDouble) {
      const double nan = std::numeric_limits<double>::quiet_NaN();
      std::memcpy(set + t.offset, &nan, sizeof nan);
    } else {
      const float nan = std::numeric_limits<float>::quiet_NaN();
      std::memcpy(set + t.offset, &nan, sizeof nan);
    }
  }
}

std::string NanFieldNames() {
  std::string names;
  for (const FieldInfo& f : kFields) {
    if (!names.empty()) names += ' ';
    names += f.name;
  }
  return names;
}
