// The settings file reader on arbitrary files: every key the program reads, as text and as
// a number.
#include "fuzz/FuzzInput.h"
#include "platform/Errors.h"
#include "platform/IniFile.h"
#include "platform/SettingsKeys.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const IniFile ini(FuzzInputFile(data, size, ".ini"));
  const std::pair<const char*, const char*> keys[] = {
      {settings::kRecordSet, settings::kRecordChannel[0]},
      {settings::kRecordSet, settings::kSamplingStep},
      {settings::kCommPort, settings::kPort},
      {settings::kCommAddress, settings::kAddress},
      {settings::kSkinSet, settings::kSkin},
      {settings::kPrintInfo, settings::kProjectName},
      {"", ""},
      {"[", "="},
  };
  for (const auto& [section, key] : keys) {
    (void)ini.ReadString(section, key);
    try {
      (void)ini.ReadInteger(section, key);
    } catch (const EConvertError&) {
    }
  }
  return 0;
}
