#pragma once
// The readers of files take a path: each input goes to a file in memory first.

#include <unistd.h>

#include <QByteArray>
#include <QFile>
#include <QString>
#include <cstddef>
#include <cstdint>

inline QString FuzzInputFile(const uint8_t* data, size_t size, const char* suffix) {
  static const QString path =
      QString("/dev/shm/rxm-fuzz-%1%2").arg(getpid()).arg(QString::fromLatin1(suffix));
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) abort();
  if (file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) !=
      static_cast<qint64>(size)) {
    abort();
  }
  return path;
}
