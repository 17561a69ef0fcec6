#include "record/RecordState.h"

#include <gtest/gtest.h>

#include <cstring>

#include "record/RecordParameters.h"

namespace {

RecordState& Fresh() {
  static RecordState state;
  state.Allocate();
  ResetRecordState(state);
  return state;
}

void PutFloat(void* block, size_t offset, float value) {
  std::memcpy(static_cast<uint8_t*>(block) + offset, &value, sizeof value);
}

// Each parameter index takes the float its list entry names; an index that names none
// records 0.
TEST(RecordState, EachIndexRecordsTheFloatOfItsBlock) {
  MeasurementRecord record{};
  PutFloat(&record.Set.Channel[1], 12, 50.02f);  // channel 2 frequency
  PutFloat(&record.Set.ThreePhase, 60, 0.031f);  // PCUR
  PutFloat(&record.Set.Channel[0], 0, 230.5f);   // channel 1 voltage TRMS
  PutFloat(&record.Set.ThreePhase, 64, 99.0f);   // the first float after the list
  RecordState& state = Fresh();
  const int selection[kRecordChannels] = {36, 114, 0, -1, 115, 200};
  std::copy(std::begin(selection), std::end(selection), state.RecordSelection);
  EXPECT_FALSE(TakeSample(state, record, 46366.5));
  EXPECT_EQ(state.SampleCount, 1);
  const float expected[kRecordChannels] = {50.02f, 0.031f, 230.5f, 0, 0, 0};
  for (int c = 0; c < kRecordChannels; ++c) EXPECT_EQ(state.Live.Values[c][0], expected[c]) << c;
  EXPECT_EQ(state.Live.Times[0], 46366.5);
  EXPECT_EQ(ParameterDisplayName(36), "CH2 Frequency");
  EXPECT_EQ(ParameterDisplayName(114), "PCUR");
  EXPECT_EQ(ParameterDisplayName(-1), QString());
  EXPECT_EQ(ParameterDisplayName(115), QString());
}

TEST(RecordState, TheCapacityEndsTheRecording) {
  RecordState& state = Fresh();
  MeasurementRecord record{};
  state.SampleCount = kRecordCapacity - 2;
  EXPECT_FALSE(TakeSample(state, record, 1));
  EXPECT_TRUE(TakeSample(state, record, 2));
  EXPECT_EQ(state.SampleCount, kRecordCapacity);
  EXPECT_TRUE(TakeSample(state, record, 3));
  EXPECT_EQ(state.SampleCount, kRecordCapacity) << "nothing beyond the buffers";
  EXPECT_EQ(state.Live.Times[kRecordCapacity - 1], 2);
}

struct CodeCase {
  int code;
  int stepMs, saveMs;
  const char *stepSetting, *stepStatus, *saveStatus;
};
const CodeCase kCodes[] = {
    {0, 1000, 10000, "采样步长：1秒", "Step: 1S", "Save time: 10S"},
    {2, 3000, 20000, "采样步长：3秒", "Step: 3S", "Save time: 20S"},
    {5, 6000, 60000, "采样步长：6秒", "Step: 6S", "Save time: 60S"},
    {10, 15000, -1, "采样步长：15秒", "Step: 15S", ""},
    {11, 30000, -1, "采样步长：30秒", "Step: 30S", ""},
    {12, -1, -1, "", "", ""},
    {-1, -1, -1, "", "", ""},
};

TEST(RecordParameters, StepAndSaveCodes) {
  for (const CodeCase& c : kCodes) {
    SCOPED_TRACE(c.code);
    EXPECT_EQ(StepIntervalMs(c.code), c.stepMs);
    EXPECT_EQ(SaveIntervalMs(c.code), c.saveMs);
    EXPECT_EQ(StepSettingText(c.code), QString::fromUtf8(c.stepSetting));
    EXPECT_EQ(StepStatusText(c.code), QString::fromUtf8(c.stepStatus));
    EXPECT_EQ(SaveStatusText(c.code), QString::fromUtf8(c.saveStatus));
  }
  EXPECT_EQ(SaveSettingText(1), QString::fromUtf8("存盘间隔时间：15秒"));
}

}  // namespace
