// The three channel pages refreshed after a reading, at the main window's default size:
// value labels, the waveform plot and both harmonic charts of each channel.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cmath>
#include <memory>
#include <vector>

#include "display/ChannelPage.h"
#include "display/PlotImages.h"

namespace {

// A plausible reading; `variant` changes every value so that each refresh sets new texts.
MeasurementRecord Reading(int variant) {
  MeasurementRecord record;
  InitMeasurementRecord(record);
  const float k = 1.0f + 0.001f * variant;
  for (int c = 0; c < 3; ++c) {
    ChannelBlock& b = record.Set.Channel[c];
    const float g = k * (1.0f + 0.1f * c);
    b.VoltageTrms = 230.4567f * g;
    b.VoltagePeak = 325.9f * g;
    b.VoltagePeakToPeak = 651.8f * g;
    b.Frequency = 49.987f;
    b.VoltagePhase = -123.45f * g;
    b.VoltageCrestFactor = 1.414f * g;
    b.VoltageThdF = 0.0234f * g;
    b.CurrentTrms = 5.125f * g;
    b.CurrentPeak = 7.25f * g;
    b.CurrentPhase = -153.4f * g;
    b.ActivePower = 1180.5f * g;
    b.ApparentPower = 1234.5f * g;
    b.ReactivePower = -600.5f * g;
    b.PowerFactor = 0.866f;
    b.EnergyKwh = 12345.678 * g;
    for (int n = 0; n < kHarmonicOrders; ++n) {
      b.VoltageHarmonics[n] = n == 1 ? 230 * g : 4.0f * g / (n + 1);
      b.CurrentHarmonics[n] = n == 1 ? 5 * g : 0.5f * g / (n + 1);
    }
    for (int i = 0; i < kWaveSamples; ++i) {
      const double phase = 2 * M_PI * i / 128;
      b.VoltageWave[i] = static_cast<int16_t>(30000 * g / 1.3 * std::sin(phase));
      b.CurrentWave[i] = static_cast<int16_t>(20000 * g / 1.3 * std::sin(phase - 0.5));
    }
  }
  return record;
}

struct Pages {
  Pages() {
    CreatePlotImages(QSize(960, 540));  // half of a 1920 x 1080 screen
    WaveBackground = QColor(238, 238, 238);
    ScaleColor = QColor(170, 170, 170);
    for (int c = 1; c <= 3; ++c) {
      pages.push_back(std::make_unique<ChannelPage>(c));
      pages.back()->SetPlotSizeReference(pages.front()->WavePaintBox);
      pages.back()->show();
    }
    QApplication::processEvents();
  }
  std::vector<std::unique_ptr<ChannelPage>> pages;
};

void RefreshThreeChannelPages(benchmark::State& state) {
  Pages p;
  const MeasurementRecord readings[2] = {Reading(0), Reading(1)};
  int i = 0;
  for (auto _ : state) {
    for (auto& page : p.pages) page->RefreshChannelPage(readings[i]);
    i ^= 1;
  }
}
BENCHMARK(RefreshThreeChannelPages)->Unit(benchmark::kMillisecond);

// The same followed by the repaints it causes (labels and plot boxes of three shown pages).
void RefreshAndRepaintThreeChannelPages(benchmark::State& state) {
  Pages p;
  const MeasurementRecord readings[2] = {Reading(0), Reading(1)};
  int i = 0;
  for (auto _ : state) {
    for (auto& page : p.pages) page->RefreshChannelPage(readings[i]);
    QApplication::processEvents();
    i ^= 1;
  }
}
BENCHMARK(RefreshAndRepaintThreeChannelPages)->Unit(benchmark::kMillisecond);

}  // namespace
