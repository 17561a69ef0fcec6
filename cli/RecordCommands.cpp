// export and record: a record file as a spreadsheet, and a trend recording without a
// window.
#include <QCommandLineParser>
#include <QDateTime>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QLocale>
#include <QTimer>
#include <cstdio>

#include "cli/CliError.h"
#include "cli/CliFiles.h"
#include "cli/CliOptions.h"
#include "cli/Commands.h"
#include "cli/InstrumentLink.h"
#include "cli/StopSignals.h"
#include "display/DateTimeText.h"
#include "link/LinkState.h"
#include "platform/Errors.h"
#include "record/RecordParameters.h"
#include "record/RecordState.h"
#include "record/SpreadsheetExport.h"

namespace {

void Progress(bool quiet, const QString& text) {
  if (!quiet) std::fprintf(stderr, "rxm5620-cli: %s\n", text.toUtf8().constData());
}

}  // namespace

int ExportCommand(const QStringList& arguments) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      "Exports a record file as the record window does: a row of channel names, then one row "
      "a sample with its time and six values.");
  parser.addOptions({
      {"xlsx", "Writes an Excel workbook.", "OUT.xlsx"},
      {"csv", "Writes a CSV text.", "OUT.csv"},
      {"quiet", "No progress lines."},
  });
  parser.addPositionalArgument("FILE.qvr", "The record file.");
  if (!ParseCommandLine(parser, arguments, "FILE.qvr (--xlsx OUT.xlsx | --csv OUT.csv)"))
    return kExitDone;
  const QString path = OnePositional(parser, "FILE.qvr");
  if (parser.isSet("xlsx") == parser.isSet("csv"))
    UsageFailure("export: give one of --xlsx OUT.xlsx and --csv OUT.csv");
  const bool csv = parser.isSet("csv");
  const QString target = parser.value(csv ? "csv" : "xlsx");
  const bool quiet = parser.isSet("quiet");

  const OpenedRecording opened = OpenRecordingOrFail(path);
  if (opened.TrailingBytes || opened.TooManyRecords || opened.StoredCount != opened.Count) {
    Progress(quiet, QString("%1: the file is damaged: %2 samples of %3 records read")
                        .arg(path)
                        .arg(opened.Count)
                        .arg(opened.Records));
  }

  ExportInput input;
  input.Buffers = &Recording.Opened;
  input.Count = Recording.OpenedLastIndex + 1;
  for (int c = 0; c < kRecordChannels; ++c)
    input.Names[c] = ParameterDisplayName(opened.Parameters[c]);
  QElapsedTimer sinceLine;
  sinceLine.start();
  const ExportResult result =
      WriteExport(target, csv ? ExportFormat::Csv : ExportFormat::Xlsx, input, QLocale::system(),
                  [&](int written, int total) {
                    if (sinceLine.elapsed() >= 1000) {
                      Progress(quiet, QString("export: %1 of %2 rows").arg(written).arg(total));
                      sinceLine.restart();
                    }
                    return true;
                  });
  if (!result.Ok) Failure(target + ": " + result.Error);
  const QString problem = CommitExport(result, target);
  if (!problem.isEmpty()) Failure(target + ": " + problem);
  return kExitDone;
}

int RecordCommand(const QStringList& arguments) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      "Records six quantities from the instrument into a record file, as the record window "
      "does: a sample every step, the file written every save interval and at the end. "
      "SIGINT or SIGTERM ends the recording early, with a final save.");
  AddLinkOptions(parser);
  parser.addOptions({
      {"params", "Six record parameter indices, 0 to 114, e.g. 0,15,29,36,99,114.", "I1,…,I6"},
      {"step", "Sampling step code: 0 to 9 for 1 to 10 s, 10 for 15 s, 11 for 30 s.", "S"},
      {"save", "Save interval code: 0 to 5 for 10, 15, 20, 25, 30 and 60 s.", "V"},
      {"duration", "How long to record: seconds, or with a unit (90s, 10m, 2h).", "D"},
      {"out", "The record file (.qvr); an existing one is replaced.", "FILE.qvr"},
      {"timeout", "Seconds to wait for the first reading (default 20).", "S", "20"},
      {"quiet", "No progress lines."},
  });
  if (!ParseCommandLine(parser, arguments,
                        "--port PORT --params I1,…,I6 --step S --save V --duration D --out "
                        "FILE.qvr [options]"))
    return kExitDone;
  if (!parser.positionalArguments().isEmpty())
    UsageFailure("record: unexpected argument \"" + parser.positionalArguments().front() + "\"");
  const LinkOptions options = LinkOptionsFrom(parser);
  const auto parameters = ParseRecordParameters(Required(parser, "params"));
  const int step = ParseCode("--step", Required(parser, "step"), 11);
  const int save = ParseCode("--save", Required(parser, "save"), 5);
  const qint64 durationMs = ParseDuration(Required(parser, "duration"));
  const QString out = Required(parser, "out");
  const int timeoutMs = static_cast<int>(ParseSeconds("--timeout", parser.value("timeout")) * 1000);
  const bool quiet = parser.isSet("quiet");

  Recording.Allocate();
  for (int c = 0; c < kRecordChannels; ++c) Recording.RecordSelection[c] = parameters[c];
  Recording.StepInterval = StepIntervalMs(step);
  Recording.SaveInterval = SaveIntervalMs(save);

  // The file is made only once the instrument answers, so a missing instrument leaves
  // no empty record file behind.
  InstrumentLink link(options);
  link.Open();
  link.StartContinuous();
  link.WaitForReading(timeoutMs);
  try {
    NewRecordFile(Recording, out);
  } catch (const AppError& error) {
    link.Stop();
    Failure(out + ": " + error.Text());
  }
  Progress(quiet, QString("record: recording into %1 for %2 s").arg(out).arg(durationMs / 1000.0));

  QEventLoop loop;
  StopSignals stopSignals;
  QObject::connect(&stopSignals, &StopSignals::Stopped, &loop, &QEventLoop::quit);
  QTimer end;
  end.setSingleShot(true);
  QObject::connect(&end, &QTimer::timeout, &loop, &QEventLoop::quit);
  end.start(static_cast<int>(std::min<qint64>(durationMs, INT_MAX)));
  const QElapsedTimer started = [] {
    QElapsedTimer t;
    t.start();
    return t;
  }();
  // Longer than a day the single-shot timer cannot count; the step timer checks the rest.
  auto pastEnd = [&] { return started.elapsed() >= durationMs; };

  bool full = false;
  QTimer stepTimer;
  QObject::connect(&stepTimer, &QTimer::timeout, &loop, [&] {
    if (pastEnd()) {
      loop.quit();
      return;
    }
    if (SamplingMode != kSamplingContinuous) return;
    if (TakeSample(Recording, MeasurementData, DaysFromDateTime(QDateTime::currentDateTime()))) {
      full = true;
      loop.quit();
    }
  });
  bool saveFailed = false;
  auto sizeText = [&] {
    return QString("record: %1 samples, %2 bytes in %3")
        .arg(Recording.SampleCount)
        .arg(QFileInfo(out).size())
        .arg(out);
  };
  QTimer saveTimer;
  // Samples repeat the last reading while none comes; a long log should say so, once when
  // the readings stop and once when they come back.
  int readingsAtLastSave = link.Readings();
  bool silent = false;
  QObject::connect(&saveTimer, &QTimer::timeout, &loop, [&] {
    const bool readings = link.Readings() != readingsAtLastSave;
    readingsAtLastSave = link.Readings();
    if (!readings && !silent) {
      std::fprintf(stderr,
                   "rxm5620-cli: %s: no reading since the last save; the samples repeat the "
                   "last reading\n",
                   qPrintable(options.port.Name()));
    } else if (readings && silent) {
      std::fprintf(stderr, "rxm5620-cli: %s: readings come again\n",
                   qPrintable(options.port.Name()));
    }
    silent = !readings;
    const QString problem = SaveTick(Recording);
    if (!problem.isEmpty()) {
      // Reported once; the recording goes on and the next save tries again.
      if (!saveFailed)
        std::fprintf(stderr, "rxm5620-cli: %s: %s\n", qPrintable(out), qPrintable(problem));
      saveFailed = true;
      return;
    }
    saveFailed = false;
    Progress(quiet, sizeText());
  });
  stepTimer.start(Recording.StepInterval);
  saveTimer.start(Recording.SaveInterval);
  loop.exec();
  stepTimer.stop();
  saveTimer.stop();
  link.Stop();

  const QString problem = SaveTick(Recording);
  if (!problem.isEmpty()) Failure(out + ": " + problem);
  if (full)
    Progress(quiet, QString("record: the recording is full (%1 samples)").arg(kRecordCapacity));
  if (stopSignals.Received()) Progress(quiet, "record: stopped by a signal");
  Progress(quiet, sizeText());
  return kExitDone;
}
