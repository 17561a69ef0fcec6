#pragma once
// The 115 recordable quantities (the parameter indices of a recording) and the codes of
// the sampling step and the save interval.

#include <QString>

#include "display/MeasurementModel.h"

// Each text begins with a blank; index k takes the float ParameterValue(record, k).
extern const char* const RecordParameterList[kParameterCount];

// The list text without its first character ("CH1 Voltage trms"); empty for an index
// outside 0 to 114, which names no parameter.
QString ParameterDisplayName(int index);

// Sampling step code 0 to 11 and save code 0 to 5 in milliseconds; -1 for other codes.
int StepIntervalMs(int code);
int SaveIntervalMs(int code);

// The texts of the record settings window ("采样步长：3秒", "存盘间隔时间：20秒") and of the
// record window's creation ("Step: 3S", "Save time: 20S"); empty for other codes.
QString StepSettingText(int code);
QString SaveSettingText(int code);
QString StepStatusText(int code);
QString SaveStatusText(int code);
