// The spreadsheet export of a full recording (450,000 samples), as a workbook and as CSV.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <cmath>

#include "record/RecordState.h"
#include "record/SpreadsheetExport.h"

namespace {

ExportInput FullRecording() {
  static RecordState* state = [] {
    auto* s = new RecordState;
    s->Allocate();
    for (int i = 0; i < kRecordCapacity; ++i) {
      for (int c = 0; c < kRecordChannels; ++c) {
        s->Live.Values[c][i] = static_cast<float>(230 + 10 * std::sin(i / 700.0 + c));
      }
      s->Live.Times[i] = 46366 + (8 * 3600 + i) / 86400.0;  // one sample a second
    }
    return s;
  }();
  ExportInput input;
  input.Buffers = &state->Live;
  input.Count = kRecordCapacity;
  for (int c = 0; c < kRecordChannels; ++c) input.Names[c] = QString("CH%1 Voltage trms").arg(c);
  return input;
}

void Export(benchmark::State& st, const char* name) {
  const ExportInput input = FullRecording();
  QTemporaryDir dir;
  const QString target = dir.filePath(name);
  for (auto _ : st) {
    const ExportResult result = WriteExport(target, ExportFormatOf(target), input);
    if (!result.Ok) st.SkipWithError(qPrintable(result.Error));
    DiscardExport(result);
  }
}

void BM_ExportWorkbook(benchmark::State& st) {
  Export(st, "r.xlsx");
}
BENCHMARK(BM_ExportWorkbook)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_ExportCsv(benchmark::State& st) {
  Export(st, "r.csv");
}
BENCHMARK(BM_ExportCsv)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
