#include "record/RecordParameters.h"

const char* const RecordParameterList[kParameterCount] = {
    " CH1 Voltage trms",
    " CH1 Voltage peak",
    " CH1 Voltage pp",
    " CH1 Frequency",
    " CH1 Voltage phase",
    " CH1 Voltage CF",
    " CH1 Voltage FF",
    " CH1 Voltage Mean",
    " CH1 Voltage RMean",
    " CH1 Voltage THD-F",
    " CH1 Voltage THD-R",
    " CH1 Voltage TIF",
    " CH1 Voltage THF",
    " CH1 Voltage FFCR",
    " CH1 Voltage K-Factor",
    " CH1 Current trms",
    " CH1 Current peak",
    " CH1 Current pp",
    " CH1 Current phase",
    " CH1 Current CF",
    " CH1 Current FF",
    " CH1 Current Mean",
    " CH1 Current RMean",
    " CH1 Current THD-F",
    " CH1 Current THD-R",
    " CH1 Current TIF",
    " CH1 Current THF",
    " CH1 Current FFCR",
    " CH1 Current K-Factor",
    " CH1 Power",
    " CH1 S",
    " CH1 Q",
    " CH1 PF",
    " CH2 Voltage trms",
    " CH2 Voltage peak",
    " CH2 Voltage pp",
    " CH2 Frequency",
    " CH2 Voltage phase",
    " CH2 Voltage CF",
    " CH2 Voltage FF",
    " CH2 Voltage Mean",
    " CH2 Voltage RMean",
    " CH2 Voltage THD-F",
    " CH2 Voltage THD-R",
    " CH2 Voltage TIF",
    " CH2 Voltage THF",
    " CH2 Voltage FFCR",
    " CH2 Voltage K-Factor",
    " CH2 Current trms",
    " CH2 Current peak",
    " CH2 Current pp",
    " CH2 Current phase",
    " CH2 Current CF",
    " CH2 Current FF",
    " CH2 Current Mean",
    " CH2 Current RMean",
    " CH2 Current THD-F",
    " CH2 Current THD-R",
    " CH2 Current TIF",
    " CH2 Current THF",
    " CH2 Current FFCR",
    " CH2 Current K-Factor",
    " CH2 Power",
    " CH2 S",
    " CH2 Q",
    " CH2 PF",
    " CH3 Voltage trms",
    " CH3 Voltage peak",
    " CH3 Voltage pp",
    " CH3 Frequency",
    " CH3 Voltage phase",
    " CH3 Voltage CF",
    " CH3 Voltage FF",
    " CH3 Voltage Mean",
    " CH3 Voltage RMean",
    " CH3 Voltage THD-F",
    " CH3 Voltage THD-R",
    " CH3 Voltage TIF",
    " CH3 Voltage THF",
    " CH3 Voltage FFCR",
    " CH3 Voltage K-Factor",
    " CH3 Current trms",
    " CH3 Current peak",
    " CH3 Current pp",
    " CH3 Current phase",
    " CH3 Current CF",
    " CH3 Current FF",
    " CH3 Current Mean",
    " CH3 Current RMean",
    " CH3 Current THD-F",
    " CH3 Current THD-R",
    " CH3 Current TIF",
    " CH3 Current THF",
    " CH3 Current FFCR",
    " CH3 Current K-Factor",
    " CH3 Power",
    " CH3 S",
    " CH3 Q",
    " CH3 PF",
    " Line Uab",
    " Line Ubc",
    " Line Uca",
    " Total Power",
    " Total S",
    " Total Q",
    " PSeq voltage",
    " NSeq voltage",
    " ZSeq voltage",
    " VUF",
    " PVUR",
    " PSeq current",
    " NSeq current",
    " ZSeq current",
    " CUF",
    " PCUR",
};

QString ParameterDisplayName(int index) {
  if (index < 0 || index >= kParameterCount) return {};
  return QString::fromLatin1(RecordParameterList[index] + 1);
}

int StepIntervalMs(int code) {
  if (code >= 0 && code <= 9) return (code + 1) * 1000;
  if (code == 10) return 15000;
  if (code == 11) return 30000;
  return -1;
}

int SaveIntervalMs(int code) {
  static constexpr int kIntervals[6] = {10000, 15000, 20000, 25000, 30000, 60000};
  return code >= 0 && code < 6 ? kIntervals[code] : -1;
}

QString StepSettingText(int code) {
  const int ms = StepIntervalMs(code);
  return ms < 0 ? QString() : QString::fromUtf8("采样步长：%1秒").arg(ms / 1000);
}

QString SaveSettingText(int code) {
  const int ms = SaveIntervalMs(code);
  return ms < 0 ? QString() : QString::fromUtf8("存盘间隔时间：%1秒").arg(ms / 1000);
}

QString StepStatusText(int code) {
  const int ms = StepIntervalMs(code);
  return ms < 0 ? QString() : QString("Step: %1S").arg(ms / 1000);
}

QString SaveStatusText(int code) {
  const int ms = SaveIntervalMs(code);
  return ms < 0 ? QString() : QString("Save time: %1S").arg(ms / 1000);
}
