#pragma once
// The export of a recording to a spreadsheet file, written directly: an .xlsx workbook
// (libxlsxwriter, constant memory) or a CSV text. Row 1 holds "Time" and "CH1:" … "CH6:"
// with the channels' names; row 2 + i the date-time text of sample i and its six values as
// numbers. NaN and infinities, which a spreadsheet number cannot hold, are left empty.
// The file is written under a temporary name beside the target and only put in its place
// by CommitExport, so a cancel or a failure never leaves a partial file or destroys one.

#include <QLocale>
#include <QString>
#include <functional>

#include "record/RecordFile.h"

enum class ExportFormat { Xlsx, Csv };

// ".csv" (any case) is CSV, every other name a workbook.
ExportFormat ExportFormatOf(const QString& path);

struct ExportInput {
  const SampleBuffers* Buffers = nullptr;
  int Count = 0;  // samples 0 to Count − 1
  QString Names[kRecordChannels];
};

// Told the rows written so far and the total; returns false to cancel.
using ExportProgress = std::function<bool(int written, int total)>;

struct ExportResult {
  QString TemporaryPath;  // the finished file, when Ok
  bool Ok = false;
  bool Cancelled = false;
  QString Error;  // why it failed
};

// Writes the export of `input` for `target` under a temporary name beside it.
ExportResult WriteExport(const QString& target, ExportFormat format, const ExportInput& input,
                         const QLocale& locale = QLocale::system(),
                         const ExportProgress& progress = {});

// Puts a finished export in place of `target` (replacing a file of that name); an empty
// text on success, else why not (the temporary file is then removed).
QString CommitExport(const ExportResult& result, const QString& target);
void DiscardExport(const ExportResult& result);
