#pragma once
// Which report the print preview shows: set by whoever opens it, just before.

#include <cstdint>

enum ReportModes : uint8_t { kMeasurementReport = 0, kRecordReport = 1 };

extern uint8_t ReportMode;
