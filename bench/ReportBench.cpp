// The report pages: the four measurement pages drawn for the preview at the window's
// default size, and one page into an A4 PDF at 600 dpi.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include "BenchReading.h"
#include "print/PrintInfo.h"
#include "print/ReportDocument.h"

namespace {

// The preview of the window at 849 × 627: pages of 816 × 1153 on surfaces 2400 high.
void PreviewPages(benchmark::State& st) {
  static const MeasurementRecord record = BenchReading(1);
  MeasurementReport report;
  report.Record = &record;
  const int pw = 849 - 33, ph = static_cast<int>(pw * 1.414);
  QImage surfaces[4];
  for (QImage& s : surfaces) s = QImage(1920, 2400, QImage::Format_RGB32);
  for (auto _ : st) {
    report.Info = ReadPrintInfo(IniFile("/nonexistent/EnterInfo.ini"));
    for (int page = 1; page <= 4; ++page) {
      QImage& surface = surfaces[page - 1];
      surface.fill(Qt::white);
      QPainter painter(&surface);
      DrawReportPage(painter, pw, ph, report, page);
    }
    benchmark::DoNotOptimize(surfaces[3].constBits());
  }
}
BENCHMARK(PreviewPages)->Unit(benchmark::kMillisecond);

void PdfPage(benchmark::State& st, int page) {
  static const MeasurementRecord record = BenchReading(2);
  MeasurementReport report;
  report.Record = &record;
  report.Pages = {page};
  QTemporaryDir dir;
  const QString path = dir.filePath("report.pdf");
  for (auto _ : st) SaveReportPdf(path, report, "2TestReport");
}
BENCHMARK_CAPTURE(PdfPage, Channel, 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PdfPage, ThreePhase, 4)->Unit(benchmark::kMillisecond);

}  // namespace
