#include "platform/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <cerrno>
#include <cstring>

#include "platform/Errors.h"

namespace {

[[noreturn]] void Fail(const QString& path, int error) {
  throw AppError(QString("Cannot write file \"%1\". %2")
                     .arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()),
                          QString::fromLocal8Bit(std::strerror(error))));
}

bool WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = ENOSPC;
      return false;
    }
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

void WriteFileAtomically(const QString& path, const QByteArray& bytes) {
  const QFileInfo target(path);
  // A read-only file stays as it is, even where the folder would allow a rename over it.
  if (target.exists() && !target.isWritable()) Fail(path, EACCES);

  QByteArray pattern =
      QFile::encodeName(target.absolutePath() + "/." + target.fileName() + ".XXXXXX");
  const int fd = ::mkstemp(pattern.data());
  if (fd < 0) Fail(path, errno);

  // Keep the permissions of the file being replaced, or the usual ones for a new file.
  struct stat old {};
  if (::stat(QFile::encodeName(target.absoluteFilePath()).constData(), &old) == 0) {
    ::fchmod(fd, old.st_mode & 07777);
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
  }

  const bool written =
      WriteAll(fd, bytes.constData(), static_cast<size_t>(bytes.size())) && ::fsync(fd) == 0;
  const int writeError = errno;
  const bool closed = ::close(fd) == 0;
  const int closeError = errno;
  if (!written || !closed) {
    ::unlink(pattern.constData());
    Fail(path, !written ? writeError : closeError);
  }
  if (::rename(pattern.constData(), QFile::encodeName(target.absoluteFilePath()).constData()) !=
      0) {
    const int renameError = errno;
    ::unlink(pattern.constData());
    Fail(path, renameError);
  }
}
