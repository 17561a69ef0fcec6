#pragma once
// Measurement files (.qvm): one whole MeasurementRecord of 8386 bytes, no header.

#include <QString>

#include "display/MeasurementModel.h"

// Reads the first 8386 bytes of `path` into `record`. Throws AppError with the file error
// when the file cannot be opened or is shorter than a whole record; `record` is then
// left exactly as it was.
void ReadMeasurementFile(const QString& path, MeasurementRecord& record);

// Writes `record` to `path`. The bytes go to a temporary file beside it that replaces the
// old file only when complete, so a failed write (disk full, no permission) keeps the old
// file intact. Throws AppError with the file error.
void WriteMeasurementFile(const QString& path, const MeasurementRecord& record);
