// The measurement file reader on arbitrary files.
#include "files/MeasurementFile.h"
#include "fuzz/FuzzInput.h"
#include "platform/Errors.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  MeasurementRecord record{};
  try {
    ReadMeasurementFile(FuzzInputFile(data, size, ".qvm"), record);
  } catch (const AppError&) {
  }
  return 0;
}
