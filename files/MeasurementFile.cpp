#include "files/MeasurementFile.h"

#include <QFile>
#include <cstring>

#include "platform/AtomicFile.h"
#include "platform/Errors.h"

void ReadMeasurementFile(const QString& path, MeasurementRecord& record) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    throw AppError(QString("Cannot open file \"%1\". %2").arg(path, file.errorString()));
  }
  // Read into a copy first: a short or failing read must not leave a record mixed from
  // the file and the previous reading.
  const QByteArray bytes = file.read(kMeasurementRecordSize);
  if (bytes.size() < kMeasurementRecordSize) {
    throw AppError(QString("Read beyond end of file \"%1\" (%2 of %3 bytes).")
                       .arg(path)
                       .arg(bytes.size() < 0 ? 0 : bytes.size())
                       .arg(kMeasurementRecordSize));
  }
  std::memcpy(&record, bytes.constData(), kMeasurementRecordSize);
}

void WriteMeasurementFile(const QString& path, const MeasurementRecord& record) {
  WriteFileAtomically(path, QByteArray(reinterpret_cast<const char*>(&record), sizeof record));
}
