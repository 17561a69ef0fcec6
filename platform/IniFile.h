#pragma once

#include "platform/DataFolders.h"
// Settings files in INI form (SysSet.ini, EnterInfo.ini). Nothing is cached: every call
// opens the file, reads or rewrites it and lets it go, so a value is always the one on disk.
// Section and key names match without regard to letter case.

#include <QString>
#include <utility>

// The default every settings key is read with.
inline constexpr const char* kSettingsDefault = "2";

class IniFile {
 public:
  explicit IniFile(QString path) : path_(std::move(path)) {}
  const QString& Path() const { return path_; }

  // The value of `key` in `section`, trimmed, and without the double quotes around it when
  // it has them; `defaultValue` when the file, the section or the key is missing (or the
  // file cannot be read).
  QString ReadString(const QString& section, const QString& key,
                     const QString& defaultValue = kSettingsDefault) const;

  // The value as a decimal integer with an optional sign. Throws EConvertError naming the
  // value when it is not one (the default is converted the same way).
  int ReadInteger(const QString& section, const QString& key,
                  const QString& defaultValue = kSettingsDefault) const;

  // Sets `key` in `section`: the value is replaced in place, a missing key is added at the
  // end of its section and a missing section at the end of the file (created if absent).
  // Every other line keeps its bytes. A value that would not read back as written (blanks
  // at either end, quotes around it) is written in double quotes. The new content is written to a
  // temporary file in the same folder and renamed over the old one, so a failed write leaves the
  // old file whole. Throws AppError naming the file when it cannot be written.
  void WriteString(const QString& section, const QString& key, const QString& value) const;
  void WriteInteger(const QString& section, const QString& key, int value) const;

 private:
  QString path_;
};

// Converts settings text to an integer: optional blanks, an optional sign, decimal digits.
// Throws EConvertError ("'x' is not a valid integer value") otherwise or when out of range.
int SettingsTextToInt(const QString& text);

// The folder that holds the settings files: SettingsDirectory() of platform/DataFolders.h.
// SysSet.ini in the settings folder.
IniFile SystemSettings();
