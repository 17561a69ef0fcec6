#pragma once
// The batch tool's inputs: a measurement file or a record file, opened by the
// application's modules; a file that cannot be read is a failure naming it.

#include <QString>

#include "display/MeasurementModel.h"
#include "record/RecordFile.h"

void ReadReadingOrFail(const QString& path, MeasurementRecord& record);
// Opens `path` into Recording's opened buffers; a file without one whole record fails.
OpenedRecording OpenRecordingOrFail(const QString& path);
