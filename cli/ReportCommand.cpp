// report: the printed measurement report as a PDF.
#include <QCommandLineParser>
#include <QFileInfo>
#include <QPagedPaintDevice>
#include <memory>

#include "cli/CliError.h"
#include "cli/CliFiles.h"
#include "cli/CliOptions.h"
#include "cli/Commands.h"
#include "platform/Errors.h"
#include "print/PrintInfo.h"
#include "print/RecordReport.h"
#include "print/ReportDocument.h"
#include "record/RecordParameters.h"
#include "record/RecordState.h"

namespace {

// The record report of a record file as the record window shows it freshly opened.
void RecordReportPdf(const QString& input, const QString& out, const PrintInfo& info) {
  const OpenedRecording opened = OpenRecordingOrFail(input);
  RecordChartState state;
  RecordReportData data;
  data.Data.Buffers = &Recording.Opened;
  data.Data.Count = Recording.OpenedLastIndex;
  data.Data.Last = Recording.OpenedLastIndex;
  data.Data.FileReady = true;  // the opened recording is there to be drawn
  data.Data.ViewMode = 1;
  for (int c = 0; c < kRecordChannels; ++c)
    data.Names[c] = ParameterDisplayName(opened.Parameters[c]);
  constexpr int kPaperColumn = 10;  // pixels of one sample column on paper
  try {
    SavePdf(out, "RecordReport", QPageLayout::Landscape,
            [&](QPainter& painter, QPagedPaintDevice& device) {
              FillRecordPanels(data, state,
                               RecordReportColumns(device.width(), device.height(), kPaperColumn));
              DrawRecordReport(painter, device.width(), device.height(), kPaperColumn, state, data,
                               info);
            });
  } catch (const AppError& error) {
    Failure(out + ": " + error.Text());
  }
}

}  // namespace

int ReportCommand(const QStringList& arguments) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      "Draws the printed report of a measurement file (four portrait pages) or of a record "
      "file (one landscape page) as an A4 PDF at 600 dpi, with the print preview's own page "
      "routines.");
  parser.addOptions({
      {"pdf", "The PDF to write.", "OUT.pdf"},
      {"pages",
       "Pages to include, in order: 1 to 3 the channels, 4 the three-phase page "
       "(default 1,2,3,4).",
       "LIST", "1,2,3,4"},
      {"info", "The print information file (default: EnterInfo.ini of the application).", "FILE"},
  });
  parser.addPositionalArgument("INPUT",
                               "A measurement file (.qvm), or a record file (.qvr) for the "
                               "record report.");
  if (!ParseCommandLine(parser, arguments, "INPUT --pdf OUT.pdf [--pages LIST] [--info FILE]"))
    return kExitDone;
  const QString input = OnePositional(parser, "INPUT");
  const QString out = Required(parser, "pdf");
  MeasurementReport report;
  report.Pages = ParsePages(parser.value("pages"));

  const IniFile infoFile = parser.isSet("info") ? IniFile(parser.value("info")) : PrintInfoFile();
  if (parser.isSet("info") && !QFileInfo(infoFile.Path()).isFile())
    Failure(infoFile.Path() + ": no such print information file");
  try {
    report.Info = ReadPrintInfo(infoFile);
  } catch (const AppError& error) {
    Failure(infoFile.Path() + ": " + error.Text());
  }

  if (input.endsWith(".qvr", Qt::CaseInsensitive)) {
    if (parser.isSet("pages")) UsageFailure("report: --pages is for measurement files only");
    RecordReportPdf(input, out, report.Info);
    return kExitDone;
  }

  const auto record = std::make_unique<MeasurementRecord>();
  ReadReadingOrFail(input, *record);
  report.Record = record.get();
  try {
    SaveReportPdf(out, report, report.Info.ProjectName + "TestReport");
  } catch (const AppError& error) {
    Failure(out + ": " + error.Text());
  }
  return kExitDone;
}
