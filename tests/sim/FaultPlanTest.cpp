#include "sim/FaultPlan.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "link/Frames.h"
#include "sim/ProtocolEngine.h"
#include "sim/SimulatedMeter.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes ReadFrame(uint16_t reg, uint16_t count) {
  Bytes frame = {2,
                 kFunctionRead,
                 static_cast<uint8_t>(reg >> 8),
                 static_cast<uint8_t>(reg),
                 static_cast<uint8_t>(count >> 8),
                 static_cast<uint8_t>(count)};
  AppendCrc(frame);
  return frame;
}

bool CrcIsRight(const Bytes& frame) {
  const uint16_t crc = Crc16(frame.data(), frame.size() - 2);
  return frame[frame.size() - 2] == (crc & 0xFF) && frame[frame.size() - 1] == (crc >> 8);
}

TEST(FaultPlan, ParsesEveryKind) {
  const FaultPlan plan = ParseFaults(
      "drop=5,crc=7,truncate=11,nan=VoltageTrms@2+LineVoltageAB+EnergyKwh/3,delay=250ms/2,"
      "silent=30:5,vanish=60s:2.5");
  EXPECT_EQ(plan.dropEvery, 5);
  EXPECT_EQ(plan.crcEvery, 7);
  EXPECT_EQ(plan.truncateEvery, 11);
  EXPECT_EQ(plan.nanEvery, 3);
  // One channel, the three-phase field, and the counter of all three channels.
  ASSERT_EQ(plan.nanTargets.size(), 5u);
  EXPECT_EQ(plan.nanTargets[0].offset, sizeof(ChannelBlock) + offsetof(ChannelBlock, VoltageTrms));
  EXPECT_EQ(plan.nanTargets[1].offset, offsetof(MeasurementSet, ThreePhase));
  EXPECT_TRUE(plan.nanTargets[4].isDouble);
  EXPECT_DOUBLE_EQ(plan.delaySeconds, 0.25);
  EXPECT_EQ(plan.delayEvery, 2);
  EXPECT_DOUBLE_EQ(plan.silent.period, 30);
  EXPECT_DOUBLE_EQ(plan.vanish.length, 2.5);
  EXPECT_TRUE(ParseFaults("").Empty());
}

TEST(FaultPlan, RejectsWhatItCannotDo) {
  const char* bad[] = {"drop",
                       "drop=0",
                       "drop=x",
                       "crc=-1",
                       "nan=Voltage",
                       "nan=VoltageTrms@4",
                       "nan=LineVoltageAB@1",
                       "delay=fast",
                       "silent=5",
                       "silent=5:5",
                       "vanish=0:1",
                       "explode=1"};
  for (const char* text : bad) EXPECT_THROW(ParseFaults(text), FaultSyntaxError) << text;
}

TEST(FaultPlan, WindowsRepeatFromTheirPeriod) {
  const FaultWindow w{10, 2};
  const std::pair<double, bool> cases[] = {{0, false},   {9.9, false}, {10, true},
                                           {11.9, true}, {12, false},  {20.5, true}};
  for (const auto& [t, inside] : cases) EXPECT_EQ(w.Contains(t), inside) << t;
}

struct Faulty {
  explicit Faulty(const char* faults)
      : meter(*FindScenario("balanced"), 1), engine(meter, 2, ParseFaults(faults), nullptr) {}
  std::vector<Answer> Ask(uint16_t reg, double now) {
    return engine.Receive(ReadFrame(reg, reg == 41 ? 2 : 10), now);
  }
  SimulatedMeter meter;
  ProtocolEngine engine;
};

TEST(FaultPlan, DropCrcAndTruncateHitEveryNthAnswer) {
  Faulty sim("drop=3,crc=2,truncate=5");
  std::vector<std::string> seen;
  for (int n = 1; n <= 6; ++n) {
    const std::vector<Answer> a = sim.Ask(28, n);
    if (a.empty()) {
      seen.push_back("none");
    } else if (a[0].bytes.size() < 15) {
      seen.push_back("cut");
    } else {
      seen.push_back(CrcIsRight(a[0].bytes) ? "good" : "crc");
    }
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"good", "crc", "none", "crc", "cut", "none"}));
}

TEST(FaultPlan, NanOnlyInEveryNthReadingWithARightCrc) {
  Faulty sim("nan=Frequency@3/2");
  const size_t at = 3 + 2 * sizeof(ChannelBlock) + offsetof(ChannelBlock, Frequency);
  for (int n = 1; n <= 4; ++n) {
    const std::vector<Answer> a = sim.Ask(41, n);
    ASSERT_EQ(a.size(), 1u);
    EXPECT_TRUE(CrcIsRight(a[0].bytes));
    float value;
    std::memcpy(&value, a[0].bytes.data() + at, sizeof value);
    EXPECT_EQ(std::isnan(value), n % 2 == 0) << n;
  }
}

TEST(FaultPlan, DelayHoldsBackEveryNthAnswer) {
  Faulty sim("delay=1.5/2");
  EXPECT_DOUBLE_EQ(sim.Ask(28, 10)[0].sendAt, 10);
  EXPECT_DOUBLE_EQ(sim.Ask(28, 11)[0].sendAt, 12.5);
}

TEST(FaultPlan, SilenceSwallowsRequestsForItsLength) {
  Faulty sim("silent=10:3");
  EXPECT_EQ(sim.Ask(45, 9.5).size(), 1u);
  EXPECT_TRUE(sim.Ask(45, 10.5).empty());
  EXPECT_TRUE(sim.Ask(45, 12.9).empty());
  EXPECT_EQ(sim.Ask(45, 13.1).size(), 1u);
}

}  // namespace
