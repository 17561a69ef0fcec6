#include "record/SpreadsheetExport.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>
#include <cmath>

#include "display/DateTimeText.h"
#include "record/RecordState.h"

namespace {

RecordState& Fresh() {
  static RecordState state;
  state.Allocate();
  ResetRecordState(state);
  return state;
}

// Three samples with values that have no short binary form, a NaN and an infinity.
ExportInput ThreeSamples(RecordState& state) {
  const float values[3][kRecordChannels] = {
      {0.1f, 230.25f, -1.5e-7f, 3.4e38f, 1234567.f, 50.02f},
      {0.2f, std::nanf(""), 7.0f, -0.0f, 1e-30f, 49.98f},
      {1.0f / 3, 2.0f / 3, INFINITY, 42.f, -42.f, 0.f},
  };
  for (int i = 0; i < 3; ++i) {
    for (int c = 0; c < kRecordChannels; ++c) state.Live.Values[c][i] = values[i][c];
    // 2026-12-10 08:00:00 plus 3 s a sample; the last one exactly at midnight.
    state.Live.Times[i] = i == 2 ? 46367.0 : 46366 + (8 * 3600 + 3 * i) / 86400.0;
  }
  ExportInput input;
  input.Buffers = &state.Live;
  input.Count = 3;
  const char* names[kRecordChannels] = {"CH1 Voltage trms", "CH1 Current trms", "CH1 Power",
                                        "CH2 Frequency",    "Line Uab",         "PCUR"};
  for (int c = 0; c < kRecordChannels; ++c) input.Names[c] = names[c];
  return input;
}

// Every cell of the first sheet, as another program reads it: texts as texts, numbers as
// numbers, empty cells as null.
QJsonArray ReadWorkbook(const QString& path) {
  QProcess python;
  python.start("/usr/bin/python3",
               {"-c",
                "import json,sys,openpyxl\n"
                "ws=openpyxl.load_workbook(sys.argv[1],read_only=True).worksheets[0]\n"
                "print(json.dumps([[c for c in r] for r in ws.iter_rows(values_only=True)]))",
                path});
  EXPECT_TRUE(python.waitForFinished(60000));
  EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
  return QJsonDocument::fromJson(python.readAllStandardOutput()).array();
}

QList<QByteArray> CsvLines(const QString& path) {
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::ReadOnly));
  QList<QByteArray> lines = file.readAll().split('\n');
  if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
  for (QByteArray& line : lines) line = line.trimmed();
  return lines;
}

QString Export(const QString& target, const ExportInput& input) {
  const ExportResult result = WriteExport(target, ExportFormatOf(target), input, QLocale::c());
  EXPECT_TRUE(result.Ok) << result.Error.toStdString();
  return CommitExport(result, target);
}

TEST(SpreadsheetExport, AWorkbookReadsBackAsTheBuffersAtSinglePrecision) {
  QTemporaryDir dir;
  RecordState& state = Fresh();
  const ExportInput input = ThreeSamples(state);
  const QString path = dir.filePath("r.xlsx");
  ASSERT_EQ(Export(path, input), QString());
  const QJsonArray rows = ReadWorkbook(path);
  ASSERT_EQ(rows.size(), 4) << "a header and three samples";
  const QJsonArray header = rows[0].toArray();
  EXPECT_EQ(header[0].toString(), "Time");
  EXPECT_EQ(header[1].toString(), "CH1:CH1 Voltage trms");
  EXPECT_EQ(header[6].toString(), "CH6:PCUR");
  for (int i = 0; i < 3; ++i) {
    const QJsonArray row = rows[i + 1].toArray();
    EXPECT_EQ(row[0].toString(), DaysText(QLocale::c(), state.Live.Times[i]));
    for (int c = 0; c < kRecordChannels; ++c) {
      const float v = state.Live.Values[c][i];
      if (std::isfinite(v)) {
        EXPECT_EQ(static_cast<float>(row[c + 1].toDouble()), v) << i << "," << c;
      } else {
        EXPECT_TRUE(row[c + 1].isNull()) << i << "," << c;
      }
    }
  }
  EXPECT_EQ(rows[1].toArray()[1].toDouble(), 0.1) << "the float's shortest decimal";
  EXPECT_EQ(rows[3].toArray()[0].toString(),
            QLocale::c().toString(QDate(2026, 12, 11), QLocale::ShortFormat))
      << "midnight gives the date alone";
}

TEST(SpreadsheetExport, ACsvReadsBackAsTheBuffersAtSinglePrecision) {
  QTemporaryDir dir;
  RecordState& state = Fresh();
  const ExportInput input = ThreeSamples(state);
  const QString path = dir.filePath("r.CSV");
  ASSERT_EQ(Export(path, input), QString());
  const QList<QByteArray> lines = CsvLines(path);
  ASSERT_EQ(lines.size(), 4);
  EXPECT_EQ(lines[0],
            "Time,CH1:CH1 Voltage trms,CH2:CH1 Current trms,CH3:CH1 Power,CH4:CH2 Frequency,"
            "CH5:Line Uab,CH6:PCUR");
  EXPECT_EQ(lines[1], DaysText(QLocale::c(), state.Live.Times[0]).toUtf8() +
                          ",0.1,230.25,-1.5e-07,3.4e+38,1234567,50.02");
  for (int i = 0; i < 3; ++i) {
    const QList<QByteArray> fields = lines[i + 1].split(',');
    ASSERT_EQ(fields.size(), 7);
    for (int c = 0; c < kRecordChannels; ++c) {
      const float v = state.Live.Values[c][i];
      if (std::isfinite(v)) {
        EXPECT_EQ(fields[c + 1].toFloat(), v) << i << "," << c;
      } else {
        EXPECT_TRUE(fields[c + 1].isEmpty()) << i << "," << c;
      }
    }
  }
}

TEST(SpreadsheetExport, AnEmptyRecordingGivesTheHeaderOnly) {
  QTemporaryDir dir;
  RecordState& state = Fresh();
  ExportInput input = ThreeSamples(state);
  input.Count = 0;
  ASSERT_EQ(Export(dir.filePath("e.xlsx"), input), QString());
  EXPECT_EQ(ReadWorkbook(dir.filePath("e.xlsx")).size(), 1);
  ASSERT_EQ(Export(dir.filePath("e.csv"), input), QString());
  EXPECT_EQ(CsvLines(dir.filePath("e.csv")).size(), 1);
}

// A write that fails (a file size limit, a folder that does not exist) leaves no file
// behind and an existing file of the name as it was.
TEST(SpreadsheetExport, AFailedWriteLeavesNoPartialFile) {
  QTemporaryDir dir;
  RecordState& state = Fresh();
  for (int i = 0; i < 20000; ++i) {
    for (int c = 0; c < kRecordChannels; ++c) state.Live.Values[c][i] = i * 0.37f + c;
    state.Live.Times[i] = 46366 + i / 86400.0;
  }
  ExportInput input = ThreeSamples(state);
  input.Count = 20000;
  for (const char* name : {"big.xlsx", "big.csv"}) {
    SCOPED_TRACE(name);
    const QString target = dir.filePath(name);
    QFile old(target);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old content");
    old.close();

    struct rlimit saved {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit = saved;
    limit.rlim_cur = 16 * 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    const ExportResult result = WriteExport(target, ExportFormatOf(target), input, QLocale::c());
    setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_FALSE(result.Ok);
    EXPECT_FALSE(result.Error.isEmpty());
    EXPECT_EQ(CommitExport(result, target), result.Error);
    QFile kept(target);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "old content");
  }
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2)
      << QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).join(" ").toStdString();

  const ExportResult nowhere = WriteExport(dir.filePath("no/such/r.csv"), ExportFormat::Csv, input);
  EXPECT_FALSE(nowhere.Ok);
  EXPECT_TRUE(nowhere.Error.contains("no/such")) << nowhere.Error.toStdString();
}

TEST(SpreadsheetExport, ACancelLeavesNothing) {
  QTemporaryDir dir;
  RecordState& state = Fresh();
  ExportInput input = ThreeSamples(state);
  input.Count = 10000;
  for (const char* name : {"c.xlsx", "c.csv"}) {
    const QString target = dir.filePath(name);
    int calls = 0;
    const ExportResult result = WriteExport(target, ExportFormatOf(target), input, QLocale::c(),
                                            [&](int, int) { return ++calls < 2; });
    EXPECT_TRUE(result.Cancelled);
    EXPECT_FALSE(result.Ok);
  }
  EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

}  // namespace
