#include "record/RecordFile.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <cstring>

#include "platform/Errors.h"
#include "record/RecordParameters.h"
#include "record/RecordState.h"

namespace {

// Both recordings of a state of their own, allocated once for the whole suite.
RecordState& Fresh() {
  static RecordState state;
  state.Allocate();
  ResetRecordState(state);
  return state;
}

QByteArray FileBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

RecordBlockData BlockAt(const QByteArray& bytes, int r) {
  RecordBlockData block{};
  std::memcpy(&block, bytes.constData() + static_cast<qsizetype>(r) * kRecordBlockSize,
              sizeof block);
  return block;
}

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  ASSERT_EQ(file.write(bytes), bytes.size());
}

TEST(RecordFile, TheKnownRecordingOpensAsItsDescriptionSays) {
  QFile description(RXM_FIXTURES_DIR "/known-record.json");
  ASSERT_TRUE(description.open(QIODevice::ReadOnly));
  const QJsonObject expected = QJsonDocument::fromJson(description.readAll()).object();
  RecordState& state = Fresh();
  const OpenedRecording opened = OpenRecordFile(state, RXM_FIXTURES_DIR "/known-record.qvr");
  EXPECT_EQ(opened.Records, expected["records"].toInt());
  EXPECT_EQ(state.OpenedLastIndex, expected["OpenedLastIndex"].toInt());
  const QJsonArray names = expected["channel_names"].toArray();
  for (int c = 0; c < kRecordChannels; ++c) {
    EXPECT_EQ(opened.Parameters[c], expected["parameters"].toArray()[c].toInt());
    EXPECT_EQ(ParameterDisplayName(opened.Parameters[c]), names[c].toString());
  }
  EXPECT_DOUBLE_EQ(state.Opened.Times[0], expected["first_time_days"].toDouble());
  EXPECT_DOUBLE_EQ(state.Opened.Times[1499], expected["last_time_days"].toDouble());
  const QJsonObject samples = expected["samples"].toObject();
  for (const QString& key : samples.keys()) {
    const QJsonArray values = samples[key].toArray();
    for (int c = 0; c < kRecordChannels; ++c) {
      EXPECT_EQ(state.Opened.Values[c][key.toInt()], static_cast<float>(values[c].toDouble()))
          << "sample " << key.toStdString() << " channel " << c;
    }
  }
}

// The save rule: the block being filled is the last record; a passed boundary rewrites the
// completed block first.
TEST(RecordFile, SavesRewriteTheBlockBeingFilledAndTheOneJustCompleted) {
  QTemporaryDir dir;
  const QString path = dir.filePath("r.qvr");
  RecordState& state = Fresh();
  state.RecordSelection[0] = 36;
  state.RecordSelection[5] = 114;
  NewRecordFile(state, path);
  ASSERT_EQ(FileBytes(path).size(), kRecordBlockSize);
  EXPECT_EQ(BlockAt(FileBytes(path), 0).Count, 0);
  for (int i = 0; i < 1000; ++i) {
    state.Live.Values[0][i] = static_cast<float>(i);
    state.Live.Times[i] = 46000 + i / 86400.0;
  }

  struct SaveCase {
    int count;
    int records;
    int firstCount, lastCount;
  };
  const SaveCase cases[] = {{999, 1, 999, 999}, {1000, 2, 1000, 1000}, {1005, 2, 1000, 1005}};
  for (const SaveCase& c : cases) {
    SCOPED_TRACE(c.count);
    state.SampleCount = c.count;
    ASSERT_EQ(SaveTick(state), QString());
    const QByteArray bytes = FileBytes(path);
    ASSERT_EQ(bytes.size(), c.records * kRecordBlockSize);
    const RecordBlockData first = BlockAt(bytes, 0);
    EXPECT_EQ(first.Count, c.firstCount);
    EXPECT_EQ(first.Values[0][999], 999.0f);
    EXPECT_EQ(first.Parameters[0], 36);
    EXPECT_EQ(first.Parameters[5], 114);
    EXPECT_EQ(BlockAt(bytes, c.records - 1).Count, c.lastCount);
  }
}

TEST(RecordFile, NothingIsSavedBeforeNew) {
  RecordState& state = Fresh();
  state.SampleCount = 5;
  EXPECT_EQ(SaveTick(state), QString());
  EXPECT_EQ(state.RecordBlock.Count, 5) << "the block is filled all the same";
}

// A save that cannot append leaves every record already written as it was.
TEST(RecordFile, AFailedSaveKeepsTheRecordsWrittenAndTheNextSaveTriesAgain) {
  QTemporaryDir dir;
  const QString path = dir.filePath("r.qvr");
  RecordState& state = Fresh();
  NewRecordFile(state, path);
  for (int i = 0; i < 1500; ++i) state.Live.Values[1][i] = 1.5f;
  state.SampleCount = 999;
  ASSERT_EQ(SaveTick(state), QString());
  const QByteArray before = FileBytes(path);

  struct rlimit saved {};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  signal(SIGXFSZ, SIG_IGN);
  struct rlimit limit = saved;
  limit.rlim_cur = static_cast<rlim_t>(before.size());
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
  state.SampleCount = 1001;  // a boundary passed: record 1 must be appended
  const QString problem = SaveTick(state);
  setrlimit(RLIMIT_FSIZE, &saved);
  EXPECT_FALSE(problem.isEmpty());
  const QByteArray after = FileBytes(path);
  ASSERT_EQ(after.size(), before.size()) << "no record is cut";
  EXPECT_EQ(BlockAt(after, 0).Values[1][998], 1.5f);

  EXPECT_EQ(SaveTick(state), QString());
  EXPECT_EQ(FileBytes(path).size(), 2 * kRecordBlockSize);
  EXPECT_EQ(BlockAt(FileBytes(path), 1).Count, 1001);
}

TEST(RecordFile, ANewThatCannotCreateItsFileLeavesTheRecordingAlone) {
  QTemporaryDir dir;
  RecordState& state = Fresh();
  NewRecordFile(state, dir.filePath("first.qvr"));
  state.SampleCount = 42;
  EXPECT_THROW(NewRecordFile(state, dir.filePath("no/such/folder/second.qvr")), AppError);
  EXPECT_EQ(state.SampleCount, 42);
  EXPECT_EQ(state.RecordFileName, dir.filePath("first.qvr"));
  EXPECT_TRUE(state.RecordFileReady);
}

// Files that are not what this program writes open as far as they are sound.
TEST(RecordFile, MalformedFilesOpenWithoutHarm) {
  QTemporaryDir dir;
  auto records = [](int n, int count, uint8_t parameter) {
    QByteArray bytes(static_cast<qsizetype>(n) * kRecordBlockSize, '\0');
    for (int r = 0; r < n; ++r) {
      RecordBlockData block{};
      block.Count = count;
      block.Parameters[0] = parameter;
      block.Values[0][0] = static_cast<float>(r);
      std::memcpy(bytes.data() + static_cast<qsizetype>(r) * kRecordBlockSize, &block,
                  sizeof block);
    }
    return bytes;
  };
  struct MalformedCase {
    const char* name;
    QByteArray bytes;
    int records, count;
    bool trailing, tooMany;
    QString firstName;
  };
  const MalformedCase cases[] = {
      {"empty", QByteArray(), 0, 0, false, false, ParameterDisplayName(0)},
      {"100 bytes", QByteArray(100, '\x7f'), 0, 0, true, false, ParameterDisplayName(0)},
      {"451 records", records(451, 450000, 1), 450, 450000, false, true, ParameterDisplayName(1)},
      {"count 10^9", records(2, 1000000000, 2), 2, 2000, false, false, ParameterDisplayName(2)},
      {"count -5", records(1, -5, 3), 1, 0, false, false, ParameterDisplayName(3)},
      {"parameter byte 200", records(1, 10, 200), 1, 10, false, false, QString()},
      {"a partial record after one", records(1, 7, 4) + QByteArray(500, '\1'), 1, 7, true, false,
       ParameterDisplayName(4)},
  };
  RecordState& state = Fresh();
  for (const MalformedCase& c : cases) {
    SCOPED_TRACE(c.name);
    const QString path = dir.filePath("bad.qvr");
    WriteFile(path, c.bytes);
    const OpenedRecording opened = OpenRecordFile(state, path);
    EXPECT_EQ(opened.Records, c.records);
    EXPECT_EQ(opened.Count, c.count);
    EXPECT_EQ(state.OpenedLastIndex, c.count - 1);
    EXPECT_EQ(opened.TrailingBytes, c.trailing);
    EXPECT_EQ(opened.TooManyRecords, c.tooMany);
    if (c.records > 0) {
      EXPECT_EQ(ParameterDisplayName(opened.Parameters[0]), c.firstName);
    }
  }
}

TEST(RecordFile, AMissingFileIsAnError) {
  RecordState& state = Fresh();
  EXPECT_THROW(OpenRecordFile(state, "/nonexistent/r.qvr"), AppError);
}

}  // namespace

namespace {

// A program killed while it saves into a long recording leaves every record before the
// one being rewritten as it was.
TEST(RecordFile, ASaverKilledMidWayKeepsTheRecordsWritten) {
  QTemporaryDir dir;
  const QString path = dir.filePath("r.qvr");
  RecordState& state = Fresh();
  NewRecordFile(state, path);
  for (int i = 0; i < 3000; ++i) state.Live.Values[2][i] = static_cast<float>(i);
  state.SampleCount = 2500;
  ASSERT_EQ(SaveTick(state), QString());
  state.SampleCount = 1999;
  ASSERT_EQ(SaveTick(state), QString());
  state.SampleCount = 2500;
  ASSERT_EQ(SaveTick(state), QString());
  const QByteArray before = FileBytes(path);
  ASSERT_EQ(before.size(), 3 * kRecordBlockSize);
  for (int round = 0; round < 4; ++round) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (int n = 2500;; n = n == 2999 ? 2500 : n + 1) {
        state.SampleCount = n;
        if (!SaveTick(state).isEmpty()) _exit(2);
      }
    }
    usleep(static_cast<useconds_t>(3000 + 7000 * round));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    const QByteArray after = FileBytes(path);
    ASSERT_EQ(after.size(), before.size());
    EXPECT_EQ(after.left(2 * kRecordBlockSize), before.left(2 * kRecordBlockSize));
  }
}

}  // namespace
