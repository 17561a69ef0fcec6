#include "platform/DataFolders.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QString ExecutableDir() {
  // Also before a QCoreApplication exists (the batch tool's start, the tests).
  const QString exe = QFileInfo("/proc/self/exe").symLinkTarget();
  return exe.isEmpty() ? QDir::currentPath() : QFileInfo(exe).absolutePath();
}

QString ConfigHome(const FolderFacts& f) {
  if (!f.xdgConfigHome.isEmpty()) return f.xdgConfigHome;
  return QDir(f.home.isEmpty() ? QDir::homePath() : f.home).filePath(".config");
}

}  // namespace

FolderFacts FolderFacts::Current() {
  FolderFacts f;
  f.executableDir = ExecutableDir();
  f.executableDirWritable = access(QFile::encodeName(f.executableDir).constData(), W_OK) == 0;
  f.dataNextToExecutable = QFileInfo(QDir(f.executableDir).filePath("PenData")).isDir();
  f.configDirEnv = qEnvironmentVariable("RXM5620_CONFIG_DIR");
  f.portDirEnv = qEnvironmentVariable("RXM5620_PORT_DIR");
  f.xdgConfigHome = qEnvironmentVariable("XDG_CONFIG_HOME");
  f.xdgRuntimeDir = qEnvironmentVariable("XDG_RUNTIME_DIR");
  f.home = qEnvironmentVariable("HOME");
  return f;
}

QString DataDirectoryFor(const FolderFacts& f) {
  if (f.dataNextToExecutable) return f.executableDir;
  return QDir::cleanPath(f.executableDir + "/../share/rxm5620");
}

// A copy that carries its data and may write its folder (a build folder, a portable copy)
// keeps everything beside it. An installed program (data in share/, possibly a bin folder
// that root may write) never writes beside itself.
bool Portable(const FolderFacts& f) {
  return f.executableDirWritable && f.dataNextToExecutable;
}

QString SettingsDirectoryFor(const FolderFacts& f) {
  if (!f.configDirEnv.isEmpty()) return f.configDirEnv;
  if (Portable(f)) return f.executableDir;
  return QDir(ConfigHome(f)).filePath("rxm5620");
}

QString PortDirectoryFor(const FolderFacts& f) {
  if (!f.portDirEnv.isEmpty()) return f.portDirEnv;
  if (Portable(f)) return QDir(f.executableDir).filePath("ports");
  if (!f.xdgRuntimeDir.isEmpty()) return QDir(f.xdgRuntimeDir).filePath("rxm5620/ports");
  return QDir(ConfigHome(f)).filePath("rxm5620/ports");
}

QString DataDirectory() {
  return DataDirectoryFor(FolderFacts::Current());
}

QString DataFile(const QString& relative) {
  return QDir(DataDirectory()).filePath(relative);
}

QString SettingsDirectory() {
  const FolderFacts facts = FolderFacts::Current();
  const QString dir = SettingsDirectoryFor(facts);
  // The user's configuration folder is made on first use; a folder named by the
  // environment is taken as it is.
  if (facts.configDirEnv.isEmpty() && !Portable(facts)) QDir().mkpath(dir);
  return dir;
}

QString DefaultPortDirectory() {
  return PortDirectoryFor(FolderFacts::Current());
}
