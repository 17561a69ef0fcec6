#include "print/PrintInfo.h"

#include <QDir>

#include "platform/DataFolders.h"
#include "platform/SettingsKeys.h"

IniFile PrintInfoFile() {
  return IniFile(QDir(SettingsDirectory()).filePath("EnterInfo.ini"));
}

QString TemperatureUnitText(int units) {
  return units == 1 ? QString::fromUtf8("℃") : QString("F ");
}

PrintInfo ReadPrintInfo(const IniFile& file) {
  using namespace settings;
  PrintInfo info;
  info.UnitText = TemperatureUnitText(file.ReadInteger(kPrintInfo, kUnits));
  info.ProjectName = file.ReadString(kPrintInfo, kProjectName);
  info.Company = file.ReadString(kPrintInfo, kCompany);
  info.Tester = file.ReadString(kPrintInfo, kTester);
  info.Date = file.ReadString(kPrintInfo, kDate);
  info.Temperature = file.ReadString(kPrintInfo, kTemperature);
  return info;
}
