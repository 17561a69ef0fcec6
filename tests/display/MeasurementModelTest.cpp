#include "display/MeasurementModel.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(MeasurementModel, StartUpStateIsZeroWith512SamplesAndFourWireChannelOne) {
  MeasurementRecord record;
  std::memset(&record, 0xA5, sizeof record);
  InitMeasurementRecord(record);
  MeasurementRecord expected;
  std::memset(&expected, 0, sizeof expected);
  const auto* bytes = reinterpret_cast<const uint8_t*>(&record);
  for (size_t i = 0; i < sizeof record; ++i) {
    const size_t inBlock = i % kChannelBlockSize;
    const bool channelArea = i < 3u * kChannelBlockSize;
    if (channelArea && inBlock == 2628) {
      EXPECT_EQ(bytes[i], 0x00) << i;  // 512 = 0x0200, low byte first
    } else if (channelArea && inBlock == 2629) {
      EXPECT_EQ(bytes[i], 0x02) << i;
    } else if (i == 2634) {
      EXPECT_EQ(bytes[i], 3);
    } else {
      ASSERT_EQ(bytes[i], 0) << "byte " << i;
    }
  }
}

TEST(MeasurementModel, ParameterIndexWalksTheChannelBlocksThenTheThreePhaseBlock) {
  MeasurementRecord record;
  InitMeasurementRecord(record);
  for (int c = 0; c < 3; ++c) {
    auto* base = reinterpret_cast<uint8_t*>(&record.Set.Channel[c]);
    for (int k = 0; k < 35; ++k) {
      const float v = 1000.0f * (c + 1) + k;
      std::memcpy(base + 4 * k, &v, 4);
    }
  }
  auto* three = reinterpret_cast<uint8_t*>(&record.Set.ThreePhase);
  for (int k = 0; k < 19; ++k) {
    const float v = 9000.0f + k;
    std::memcpy(three + 4 * k, &v, 4);
  }
  struct IndexCase {
    int index;
    float value;
  };
  const IndexCase cases[] = {{0, 1000},   {15, 1015}, {32, 1032}, {33, 2000},
                             {65, 2032},  {66, 3000}, {98, 3032}, {99, 9000},
                             {114, 9015}, {115, 0},   {-1, 0},    {1000, 0}};
  for (const IndexCase& c : cases) EXPECT_EQ(ParameterValue(record, c.index), c.value) << c.index;
  EXPECT_EQ(kParameterCount, 115);
}

}  // namespace
