// The three channel pages refreshed after a reading, at the main window's default size:
// value labels, the waveform plot and both harmonic charts of each channel.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cmath>
#include <memory>
#include <vector>

#include "bench/BenchReading.h"
#include "display/ChannelPage.h"
#include "display/PlotImages.h"

namespace {

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
  const MeasurementRecord readings[2] = {BenchReading(0), BenchReading(1)};
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
  const MeasurementRecord readings[2] = {BenchReading(0), BenchReading(1)};
  int i = 0;
  for (auto _ : state) {
    for (auto& page : p.pages) page->RefreshChannelPage(readings[i]);
    QApplication::processEvents();
    i ^= 1;
  }
}
BENCHMARK(RefreshAndRepaintThreeChannelPages)->Unit(benchmark::kMillisecond);

}  // namespace
