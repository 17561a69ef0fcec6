#pragma once
// Every section and key name of the settings files, in one place. SysSet.ini holds the
// user's choices between runs; EnterInfo.ini the print information of the reports.

namespace settings {

// SysSet.ini: the record settings.
inline constexpr const char* kRecordSet = "RecordSet";
inline constexpr const char* kRecordChannel[6] = {"Ch0", "Ch1", "Ch2", "Ch3", "Ch4", "Ch5"};
inline constexpr const char* kSamplingStep = "SampingSetp";
inline constexpr const char* kSaveStep = "SaveSetp";
inline constexpr const char* kTemperatureInput = "TInCommNO";

// SysSet.ini: the link.
inline constexpr const char* kCommBaudrate = "CommBaudrate";
inline constexpr const char* kBaudrate = "Baudrate";
inline constexpr const char* kCommPort = "CommPort";
inline constexpr const char* kPort = "Port";
inline constexpr const char* kCommAddress = "CommAddress";
inline constexpr const char* kAddress = "Address";

// SysSet.ini: the look of the main window.
inline constexpr const char* kSkinSet = "SkinSet";
inline constexpr const char* kSkin = "Skin";
inline constexpr const char* kMyDisplayImage = "MyDisplayImage";
inline constexpr const char* kHarmonicChoice[3] = {"P1DisHar", "P2DisHar", "P3DisHar"};
inline constexpr const char* kWaveSet = "WaveSet";
inline constexpr const char* kWaveBackground = "WaveBackground";
inline constexpr const char* kScaleColor = "ScaleColor";
inline constexpr const char* kInit = "Init";
inline constexpr const char* kPage = "Page";

// EnterInfo.ini: the print information.
inline constexpr const char* kPrintInfo = "PrintInfo";
inline constexpr const char* kProjectName = "ProjectName";
inline constexpr const char* kCompany = "company";
inline constexpr const char* kTester = "conner";
inline constexpr const char* kDate = "date";
inline constexpr const char* kTemperature = "temperature";
inline constexpr const char* kUnits = "units";

}  // namespace settings
