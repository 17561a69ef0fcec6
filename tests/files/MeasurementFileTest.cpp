#include "files/MeasurementFile.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <cstring>

#include "platform/Errors.h"

namespace {

QByteArray Pattern(int size) {
  QByteArray bytes(size, '\0');
  for (int i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 31 + 7);
  return bytes;
}

void WriteRaw(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  ASSERT_EQ(file.write(bytes), bytes.size());
}

QByteArray ReadRaw(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray RecordBytes(const MeasurementRecord& record) {
  return QByteArray(reinterpret_cast<const char*>(&record), sizeof record);
}

TEST(MeasurementFile, SaveThenOpenGivesTheSameRecord) {
  QTemporaryDir dir;
  MeasurementRecord record;
  const QByteArray pattern = Pattern(kMeasurementRecordSize);
  std::memcpy(&record, pattern.constData(), sizeof record);
  const QString path = dir.filePath("TestFile.qvm");
  WriteMeasurementFile(path, record);
  EXPECT_EQ(ReadRaw(path), pattern);

  MeasurementRecord opened;
  InitMeasurementRecord(opened);
  ReadMeasurementFile(path, opened);
  EXPECT_EQ(RecordBytes(opened), pattern);
}

TEST(MeasurementFile, InitialStateIsSavedAsIs) {
  QTemporaryDir dir;
  MeasurementRecord record;
  InitMeasurementRecord(record);
  WriteMeasurementFile(dir.filePath("a.qvm"), record);
  EXPECT_EQ(ReadRaw(dir.filePath("a.qvm")), RecordBytes(record));
}

TEST(MeasurementFile, OpeningTakesTheFirst8386BytesOrRefusesAShortFile) {
  struct SizeCase {
    int size;
    bool accepted;
  };
  const SizeCase cases[] = {{8386, true}, {10000, true}, {8385, false}, {0, false}};
  for (const SizeCase& c : cases) {
    SCOPED_TRACE(c.size);
    QTemporaryDir dir;
    const QString path = dir.filePath("reading.qvm");
    const QByteArray bytes = Pattern(c.size);
    WriteRaw(path, bytes);
    MeasurementRecord record;
    InitMeasurementRecord(record);
    const QByteArray before = RecordBytes(record);
    if (c.accepted) {
      ReadMeasurementFile(path, record);
      EXPECT_EQ(RecordBytes(record), bytes.left(kMeasurementRecordSize));
    } else {
      try {
        ReadMeasurementFile(path, record);
        ADD_FAILURE() << "a short file was accepted";
      } catch (const AppError& error) {
        EXPECT_TRUE(error.Text().startsWith("Read beyond end of file"))
            << error.Text().toStdString();
      }
      EXPECT_EQ(RecordBytes(record), before) << "a short file must change nothing";
    }
  }
}

TEST(MeasurementFile, MissingFileIsAFileErrorAndChangesNothing) {
  QTemporaryDir dir;
  MeasurementRecord record;
  InitMeasurementRecord(record);
  const QByteArray before = RecordBytes(record);
  EXPECT_THROW(ReadMeasurementFile(dir.filePath("none.qvm"), record), AppError);
  EXPECT_EQ(RecordBytes(record), before);
}

TEST(MeasurementFile, SaveIntoAMissingFolderIsAFileError) {
  QTemporaryDir dir;
  MeasurementRecord record;
  InitMeasurementRecord(record);
  EXPECT_THROW(WriteMeasurementFile(dir.filePath("no/such/folder/a.qvm"), record), AppError);
}

// A write that fails half-way (here: the file size limit, as a full disk would) must
// leave the existing file as it was.
TEST(MeasurementFile, FailedWriteKeepsTheOldFile) {
  QTemporaryDir dir;
  const QString path = dir.filePath("keep.qvm");
  const QByteArray old = "an older reading";
  WriteRaw(path, old);

  MeasurementRecord record;
  InitMeasurementRecord(record);
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 4096;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  bool threw = false;
  try {
    WriteMeasurementFile(path, record);
  } catch (const AppError&) {
    threw = true;
  }
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previousHandler);
  EXPECT_TRUE(threw);
  EXPECT_EQ(ReadRaw(path), old);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"keep.qvm"})
      << "no temporary file is left behind";
}

TEST(MeasurementFile, KnownReadingFixtureOpens) {
  MeasurementRecord record;
  InitMeasurementRecord(record);
  ReadMeasurementFile(RXM_FIXTURES_DIR "/known-reading.qvm", record);
  EXPECT_EQ(QByteArray(record.DateTimeText, 19), QByteArray("2026-12-10 09:30:15"));
  EXPECT_EQ(record.Set.Channel[0].Wiring, 3);
  EXPECT_EQ(record.Set.Channel[0].CurrentWave[37], -32768);
}

}  // namespace
