#pragma once
// Replaces a file only once its new content is safely on disk: the bytes go to a
// temporary file in the same folder, which is then renamed over the old one. On any
// failure (no permission, disk full) the old file is untouched and no temporary remains.

#include <QByteArray>
#include <QString>

// Throws AppError naming the file and the system's reason.
void WriteFileAtomically(const QString& path, const QByteArray& bytes);
