#include "display/MeasurementModel.h"

#include <cstring>

MeasurementRecord MeasurementData;

void InitMeasurementRecord(MeasurementRecord& record) {
  std::memset(&record, 0, sizeof record);
  for (ChannelBlock& block : record.Set.Channel) block.WaveSampleCount = kWaveSamples;
  record.Set.Channel[0].Wiring = kWiringFourWire;
}

float ParameterValue(const MeasurementRecord& record, int index) {
  // The recordable fields are consecutive float32 values at the start of each block;
  // they are read by copying bytes since the packed record has no float alignment.
  const uint8_t* base = nullptr;
  int k = 0;
  if (index >= 0 && index < 3 * kChannelParameterCount) {
    base = reinterpret_cast<const uint8_t*>(&record.Set.Channel[index / kChannelParameterCount]);
    k = index % kChannelParameterCount;
  } else if (index >= 3 * kChannelParameterCount && index < kParameterCount) {
    base = reinterpret_cast<const uint8_t*>(&record.Set.ThreePhase);
    k = index - 3 * kChannelParameterCount;
  } else {
    return 0.0f;
  }
  float value;
  std::memcpy(&value, base + 4 * k, sizeof value);
  return value;
}
