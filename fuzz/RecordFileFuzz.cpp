// The record file reader on arbitrary files, into buffers of the real capacity; the chart
// then draws what was read, as the record window would.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdlib>

#include "fuzz/FuzzInput.h"
#include "platform/Errors.h"
#include "record/RecordChart.h"
#include "record/RecordState.h"

// The chart's texts need the toolkit's fonts, so a (headless) application.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static QGuiApplication application(*argc, *argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static RecordState* state = [] {
    auto* s = new RecordState;
    s->Allocate();
    return s;
  }();
  try {
    const OpenedRecording opened = OpenRecordFile(*state, FuzzInputFile(data, size, ".qvr"));
    static QImage image(200, 120, QImage::Format_RGB32);
    QPainter painter(&image);
    RecordChartState chart;
    chart.Opened.Zoom = 1 + (size % 7);
    ChartData shown{&state->Opened, state->OpenedLastIndex, state->OpenedLastIndex, true, 1};
    DrawRecordChart(painter, 200, 120, chart, shown, Qt::black, Qt::gray);
    (void)opened;
  } catch (const AppError&) {
  }
  return 0;
}
