// The whole live display after a reading, at the main window's default size: the three
// channel pages, the three-phase page and the harmonic report grid, refreshed in the order
// the dispatcher uses; and a resize of the window, which lays out and refreshes everything
// without allocating a single image.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTabWidget>
#include <cmath>

#include "bench/BenchReading.h"
#include "display/ChannelPage.h"
#include "display/ChannelPageLayout.h"
#include "display/HarmonicReportPage.h"
#include "display/PageLayout.h"
#include "display/PlotImages.h"
#include "display/ThreePhaseHost.h"
#include "display/ThreePhasePage.h"

namespace {

// The tabs of the main window and its status texts.
class Host : public ThreePhaseHost {
 public:
  explicit Host(QTabWidget& tabs) : tabs_(tabs) {}
  void SetStatusText(int panel, const QString& text) override { status[panel & 1] = text; }
  bool IsPageVisible(int page) const override { return tabs_.isTabVisible(page); }
  void SetPageVisible(int page, bool visible) override { tabs_.setTabVisible(page, visible); }
  void SelectPage(int page) override { tabs_.setCurrentIndex(page); }
  QString status[2];

 private:
  QTabWidget& tabs_;
};

// The five pages on a tab control whose pages have the default size, the three-phase page
// in front.
struct Display {
  Display() {
    CreatePlotImages(QSize(960, 540));  // half of a 1920 x 1080 screen
    WaveBackground = Qt::black;
    ScaleColor = QColor(0, 128, 128);
    for (int c = 0; c < 3; ++c) {
      channels[c] = new ChannelPage(c + 1);
      tabs.addTab(channels[c], QString(" Channel %1 ").arg(c + 1));
    }
    threePhase = new ThreePhasePage;
    tabs.addTab(threePhase, "Three-phase Analysis");
    harmonic = new HarmonicReportPage;
    tabs.addTab(harmonic, " Harmonic Report ");
    for (ChannelPage* page : channels) page->SetPlotSizeReference(channels[0]->WavePaintBox);
    threePhase->SetPlotSizeReference(channels[0]->WavePaintBox);
    threePhase->SetHost(&host);
    pages = {{channels[0], channels[1], channels[2]}, threePhase, harmonic};
    tabs.show();
    QApplication::processEvents();
    tabs.resize(tabs.size() + kDefaultPageSize - tabs.widget(0)->size());
    tabs.setCurrentIndex(3);
    QApplication::processEvents();
    InitHarmonicGrid(*harmonic->StringGrid2);
    LayOutPages(pages, tabs.widget(0)->size());
  }

  // What the dispatcher runs after a reading.
  void Refresh(const MeasurementRecord& record) {
    for (ChannelPage* page : channels) page->RefreshChannelPage(record);
    threePhase->RefreshThreePhasePage(record);
    RefreshHarmonicGrid(*harmonic->StringGrid2, record.Set);
  }

  QTabWidget tabs;
  Host host{tabs};
  ChannelPage* channels[3];
  ThreePhasePage* threePhase;
  HarmonicReportPage* harmonic;
  MainPages pages;
};

void FullRefreshAfterAReading(benchmark::State& state) {
  Display d;
  const MeasurementRecord readings[2] = {BenchReading(0), BenchReading(1)};
  int i = 0;
  for (auto _ : state) {
    d.Refresh(readings[i]);
    i ^= 1;
  }
}
BENCHMARK(FullRefreshAfterAReading)->Unit(benchmark::kMillisecond);

// The same followed by the repaint of the page in front.
void FullRefreshAndRepaint(benchmark::State& state) {
  Display d;
  const MeasurementRecord readings[2] = {BenchReading(0), BenchReading(1)};
  int i = 0;
  for (auto _ : state) {
    d.Refresh(readings[i]);
    QApplication::processEvents();
    i ^= 1;
  }
}
BENCHMARK(FullRefreshAndRepaint)->Unit(benchmark::kMillisecond);

// The three-phase page and the grid alone.
void ThreePhasePageAndGrid(benchmark::State& state) {
  Display d;
  const MeasurementRecord readings[2] = {BenchReading(0), BenchReading(1)};
  int i = 0;
  for (auto _ : state) {
    d.threePhase->RefreshThreePhasePage(readings[i]);
    RefreshHarmonicGrid(*d.harmonic->StringGrid2, readings[i].Set);
    i ^= 1;
  }
}
BENCHMARK(ThreePhasePageAndGrid)->Unit(benchmark::kMillisecond);

// A resize of the main window: the layout at the new size, then the full refresh. The
// images are the ones made at start; a resize that reallocated one fails the benchmark.
void ResizeLayoutAndRefresh(benchmark::State& state) {
  Display d;
  const MeasurementRecord record = BenchReading(0);
  const uchar* const bits[] = {ScratchImage.constBits(), SamplingImage.constBits(),
                               PhasorImage.constBits(), WaveImage[2].constBits(),
                               CurrentHarmonicImage[1].constBits()};
  const QSize sizes[2] = {kDefaultPageSize, QSize(1258, 781)};
  int i = 0;
  for (auto _ : state) {
    LayOutPages(d.pages, sizes[i]);
    d.Refresh(record);
    i ^= 1;
  }
  const uchar* const after[] = {ScratchImage.constBits(), SamplingImage.constBits(),
                                PhasorImage.constBits(), WaveImage[2].constBits(),
                                CurrentHarmonicImage[1].constBits()};
  for (int k = 0; k < 5; ++k) {
    if (bits[k] != after[k]) state.SkipWithError("a resize reallocated an image");
  }
}
BENCHMARK(ResizeLayoutAndRefresh)->Unit(benchmark::kMillisecond);

}  // namespace
