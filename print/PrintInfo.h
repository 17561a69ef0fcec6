#pragma once
// The print information of every report (EnterInfo.ini, section PrintInfo): project,
// organisation, tester, date, temperature and its unit. Each reader opens the file.

#include <QString>

#include "platform/IniFile.h"

struct PrintInfo {
  QString ProjectName = kSettingsDefault;
  QString Company = kSettingsDefault;
  QString Tester = kSettingsDefault;
  QString Date = kSettingsDefault;
  QString Temperature = kSettingsDefault;
  QString UnitText = "F ";  // "℃" for units 1, else "F "
};

// EnterInfo.ini in the settings folder, beside SysSet.ini.
IniFile PrintInfoFile();

// The unit as reports print it: "℃" for 1, "F " (with a blank) for any other integer.
QString TemperatureUnitText(int units);

// Every key with the default "2". Throws EConvertError when `units` is not an integer,
// before anything else is read.
PrintInfo ReadPrintInfo(const IniFile& file = PrintInfoFile());
