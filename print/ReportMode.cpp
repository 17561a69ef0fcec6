#include "print/ReportMode.h"

uint8_t ReportMode = kMeasurementReport;
