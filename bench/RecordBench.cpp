// Trend recording: a redraw of the chart over a full recording, the opening of a full
// record file, and the sampling and save ticks, which must not allocate.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <cmath>
#include <cstdlib>
#include <new>

#include "record/RecordChart.h"
#include "record/RecordState.h"

namespace {
// Allocations of the thread that runs the benchmarks (other threads of the toolkit allocate
// on their own time).
thread_local long allocations = 0;
}  // namespace

// Every allocation is counted, so that a tick can prove it allocates nothing.
void* operator new(std::size_t size) {
  ++allocations;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}

namespace {

RecordState& FullRecording() {
  static RecordState* state = [] {
    auto* s = new RecordState;
    s->Allocate();
    for (int i = 0; i < kRecordCapacity; ++i) {
      for (int c = 0; c < kRecordChannels; ++c) {
        // Slow drifts with a little noise, as a quantity of a power system changes.
        const double noise = ((i * 2654435761u + c) % 1000) / 1000.0 - 0.5;
        s->Live.Values[c][i] = static_cast<float>(100 + 60 * std::sin(i / 40000.0 + c) + noise);
      }
      s->Live.Times[i] = 46366 + i / 86400.0;
    }
    s->SampleCount = kRecordCapacity;
    s->RecordFileReady = true;
    return s;
  }();
  return *state;
}

void BM_ChartRedrawOfAFullRecording(benchmark::State& st) {
  RecordState& recording = FullRecording();
  QImage image(2400, 1600, QImage::Format_RGB32);
  RecordChartState chart;
  chart.Live.Zoom = 560;  // the whole recording across the chart
  ChartData data{&recording.Live, recording.SampleCount, recording.SampleCount - 1, true, 0};
  for (auto _ : st) {
    QPainter painter(&image);
    const ChartTexts texts =
        DrawRecordChart(painter, 800, 500, chart, data, Qt::black, QColor(0, 128, 128));
    benchmark::DoNotOptimize(texts.Points);
  }
}
BENCHMARK(BM_ChartRedrawOfAFullRecording)->Unit(benchmark::kMillisecond);

// The worst case: every column jumps across the chart.
void BM_ChartRedrawOfAZigzag(benchmark::State& st) {
  static RecordState* zigzag = [] {
    auto* s = new RecordState;
    s->Allocate();
    for (int i = 0; i < kRecordCapacity; ++i) {
      for (int c = 0; c < kRecordChannels; ++c) s->Live.Values[c][i] = (i / 560 + c) % 2 ? 160 : 0;
    }
    s->SampleCount = kRecordCapacity;
    return s;
  }();
  QImage image(2400, 1600, QImage::Format_RGB32);
  RecordChartState chart;
  chart.Live.Zoom = 560;
  ChartData data{&zigzag->Live, zigzag->SampleCount, zigzag->SampleCount - 1, true, 0};
  for (auto _ : st) {
    QPainter painter(&image);
    benchmark::DoNotOptimize(
        DrawRecordChart(painter, 800, 500, chart, data, Qt::black, QColor(0, 128, 128)).Points);
  }
}
BENCHMARK(BM_ChartRedrawOfAZigzag)->Unit(benchmark::kMillisecond);

void BM_OpenAFullRecordFile(benchmark::State& st) {
  RecordState& recording = FullRecording();
  QTemporaryDir dir;
  const QString path = dir.filePath("full.qvr");
  NewRecordFile(recording, path);
  recording.SampleCount = kRecordCapacity;
  // Written block by block, as the save ticks of a whole recording would.
  for (int n = kSamplesPerRecord; n <= kRecordCapacity; n += kSamplesPerRecord) {
    recording.SampleCount = n;
    if (!SaveTick(recording).isEmpty()) st.SkipWithError("save failed");
  }
  for (auto _ : st) {
    const OpenedRecording opened = OpenRecordFile(recording, path);
    if (opened.Count != kRecordCapacity) st.SkipWithError("not the whole recording");
  }
}
BENCHMARK(BM_OpenAFullRecordFile)->Unit(benchmark::kMillisecond);

void BM_SamplingTick(benchmark::State& st) {
  RecordState& recording = FullRecording();
  MeasurementRecord reading{};
  for (auto _ : st) {
    recording.SampleCount = 1000;
    benchmark::DoNotOptimize(TakeSample(recording, reading, 46366.5));
  }
  // Outside the timed loop, whose own bookkeeping may allocate: 1000 ticks, no allocation.
  const long before = allocations;
  for (int i = 0; i < 1000; ++i) TakeSample(recording, reading, 46366.5 + i);
  const long used = allocations - before;
  st.counters["allocations"] = static_cast<double>(used);
  if (used != 0) st.SkipWithError("the sampling tick allocated");
}
BENCHMARK(BM_SamplingTick);

void BM_SaveTick(benchmark::State& st) {
  RecordState& recording = FullRecording();
  QTemporaryDir dir;
  NewRecordFile(recording, dir.filePath("tick.qvr"));
  recording.SampleCount = 200500;  // deep into a long recording
  SaveTick(recording);
  for (auto _ : st) {
    recording.SampleCount = 200500;
    const QString problem = SaveTick(recording);
    benchmark::DoNotOptimize(problem.isEmpty());
  }
  const long before = allocations;
  for (int i = 0; i < 100; ++i) {
    recording.SampleCount = 200500 + 10 * i;  // across a block boundary too
    if (!SaveTick(recording).isEmpty()) st.SkipWithError("save failed");
  }
  const long used = allocations - before;
  st.counters["allocations"] = static_cast<double>(used);
  if (used != 0) st.SkipWithError("the save tick allocated");
}
BENCHMARK(BM_SaveTick)->Unit(benchmark::kMicrosecond);

}  // namespace
