#include "cli/CliFiles.h"

#include "cli/CliError.h"
#include "files/MeasurementFile.h"
#include "platform/Errors.h"
#include "record/RecordState.h"

void ReadReadingOrFail(const QString& path, MeasurementRecord& record) {
  try {
    ReadMeasurementFile(path, record);
  } catch (const AppError& error) {
    Failure(path + ": " + error.Text());
  }
}

OpenedRecording OpenRecordingOrFail(const QString& path) {
  Recording.Allocate();
  OpenedRecording opened;
  try {
    opened = OpenRecordFile(Recording, path);
  } catch (const AppError& error) {
    Failure(path + ": " + error.Text());
  }
  if (opened.Records == 0)
    Failure(QString("%1: not a record file: it holds no whole record of %2 bytes")
                .arg(path)
                .arg(kRecordBlockSize));
  return opened;
}
