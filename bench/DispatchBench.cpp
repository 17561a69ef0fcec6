// Dispatch of one all-channels answer: CRC check, copy into the reading, NaN repair.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "link/Dispatcher.h"
#include "link/Frames.h"
#include "link/LinkPort.h"
#include "link/LinkState.h"
#include "link/LinkView.h"
#include "platform/Sleep.h"

namespace {

class ReplayPort : public LinkPort {
 public:
  std::vector<uint8_t> answer;
  bool PortOpen() const override { return true; }
  bool WriteBytes(const uint8_t*, uint32_t) override { return true; }
  std::span<const uint8_t> ReadInputBytes() override { return answer; }
};

class QuietView : public LinkView {
 public:
  void ShowProgressBar(int) override {}
  void SetProgressPosition(int) override {}
  void SetStatusText(int, const QString&) override {}
  void RefreshChannelPage(int) override {}
  void RefreshThreePhasePage() override {}
  void RefreshHarmonicGrid() override {}
  void SetReReadTimerEnabled(bool) override {}
  void SetContinuousReadTimerEnabled(bool) override {}
  void SetSamplingControlsEnabled(bool) override {}
  int SpeedIndex() const override { return 7; }
  void AlarmFormCreate() override {}
  void SetAlarmStatusText(const QString&) override {}
  void ShowInstrumentSetup() override {}
  void SetInstrumentStatusText(const QString&) override {}
  void SetCalibrationEditText(int, const QString&) override {}
};

void BM_DispatchAllChannelsAnswer(benchmark::State& state) {
  SetSleepFunction([](uint32_t) {});
  ReplayPort port;
  QuietView view;
  SetLinkPort(&port);
  port.answer.assign(kMeasurementSetSize + 5, 0);
  port.answer[0] = 2;
  port.answer[1] = 0x03;
  for (int i = 3; i < kMeasurementSetSize + 3; ++i) port.answer[i] = static_cast<uint8_t>(i * 7);
  const uint16_t crc = Crc16(port.answer.data(), kMeasurementSetSize + 3);
  port.answer[kMeasurementSetSize + 3] = crc & 0xFF;
  port.answer[kMeasurementSetSize + 4] = crc >> 8;
  LastReadRegister = 41;
  SendReadRequest(2, 41, 2);
  for (auto _ : state) {
    Comm1ReceiveData(port, view);
    benchmark::DoNotOptimize(MeasurementData.Set.Channel[0].VoltageTrms);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * port.answer.size());
  SetLinkPort(nullptr);
}
BENCHMARK(BM_DispatchAllChannelsAnswer);

void BM_Crc16AllChannelsAnswer(benchmark::State& state) {
  std::vector<uint8_t> bytes(kMeasurementSetSize + 3, 0x5A);
  for (auto _ : state) benchmark::DoNotOptimize(Crc16(bytes.data(), bytes.size()));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * bytes.size());
}
BENCHMARK(BM_Crc16AllChannelsAnswer);

}  // namespace
