#include "platform/AtomicFile.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <random>

#include "platform/Errors.h"
#include "platform/IniFile.h"

namespace {

QByteArray Content(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A program killed while it replaces a file leaves the old file or the new one, whole.
TEST(AtomicFile, AWriterKilledMidWayLeavesAWholeFile) {
  QTemporaryDir dir;
  const QString path = dir.filePath("target.bin");
  constexpr int kSize = 1 << 20;
  WriteFileAtomically(path, QByteArray(kSize, 'a'));
  std::mt19937 random(7);
  for (int round = 0; round < 6; ++round) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (int i = 0;; ++i) {
        try {
          WriteFileAtomically(path, QByteArray(kSize, i % 2 ? 'b' : 'c'));
        } catch (...) {
          _exit(2);
        }
      }
    }
    usleep(std::uniform_int_distribution<int>(1000, 60000)(random));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the writer failed on its own";
    const QByteArray content = Content(path);
    ASSERT_EQ(content.size(), kSize) << "round " << round;
    EXPECT_EQ(content.count(content[0]), kSize) << "one write's bytes only";
  }
}

// A settings file that cannot be written whole keeps its old content.
TEST(AtomicFile, ASettingsWriteThatFailsKeepsTheOldFile) {
  QTemporaryDir dir;
  qputenv("RXM5620_CONFIG_DIR", dir.path().toLocal8Bit());
  SystemSettings().WriteString("CommPort", "Port", "7");
  const QByteArray before = Content(dir.filePath("SysSet.ini"));
  struct rlimit saved {};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  signal(SIGXFSZ, SIG_IGN);
  struct rlimit limit = saved;
  limit.rlim_cur = static_cast<rlim_t>(before.size());
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
  EXPECT_THROW(SystemSettings().WriteString("CommPort", "Port", QString(200, '9')), AppError);
  setrlimit(RLIMIT_FSIZE, &saved);
  EXPECT_EQ(Content(dir.filePath("SysSet.ini")), before);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1) << "no temporary";
  qunsetenv("RXM5620_CONFIG_DIR");
}

TEST(AtomicFile, AReadOnlyFolderIsRefusedAndTheOldFileKept) {
  if (geteuid() == 0) GTEST_SKIP() << "running as root, which writes into read-only folders";
  QTemporaryDir dir;
  const QString path = dir.filePath("kept.bin");
  WriteFileAtomically(path, "old");
  ASSERT_TRUE(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
  EXPECT_THROW(WriteFileAtomically(path, "new"), AppError);
  QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  EXPECT_EQ(Content(path), "old");
}

}  // namespace
