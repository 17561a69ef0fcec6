#include "platform/IniFile.h"

#include "platform/DataFolders.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <limits>
#include <optional>

#include "platform/AtomicFile.h"
#include "platform/Errors.h"

namespace {

// One line of the file as it is on disk (without its '\n'), so that lines the write does
// not touch go back byte for byte, CR included.
using Lines = QList<QByteArray>;

struct Parsed {
  Lines lines;
  bool endsWithNewline = true;
  QByteArray newline = "\n";
};

Parsed Split(const QByteArray& content) {
  Parsed parsed;
  if (content.isEmpty()) return parsed;
  parsed.lines = content.split('\n');
  parsed.endsWithNewline = content.endsWith('\n');
  if (parsed.endsWithNewline) parsed.lines.removeLast();
  if (!parsed.lines.isEmpty() && parsed.lines.first().endsWith('\r')) parsed.newline = "\r\n";
  return parsed;
}

bool SameName(const QByteArray& name, const QString& wanted) {
  return QString::fromUtf8(name).compare(wanted, Qt::CaseInsensitive) == 0;
}

// The section name of a header line "[name]", or nothing.
std::optional<QByteArray> SectionName(const QByteArray& line) {
  const QByteArray t = line.trimmed();
  if (!t.startsWith('[')) return std::nullopt;
  const qsizetype close = t.indexOf(']');
  if (close < 0) return std::nullopt;
  return t.mid(1, close - 1).trimmed();
}

// The key name of a "key=value" line, or nothing for blanks, comments and other text.
std::optional<QByteArray> KeyName(const QByteArray& line) {
  const QByteArray t = line.trimmed();
  if (t.isEmpty() || t.startsWith(';')) return std::nullopt;
  const qsizetype eq = t.indexOf('=');
  if (eq <= 0) return std::nullopt;
  return t.left(eq).trimmed();
}

struct Location {
  qsizetype section = -1;     // header line of the section, -1 when absent
  qsizetype sectionEnd = -1;  // one past the last non-blank line of the section
  qsizetype key = -1;         // line of the key, -1 when absent
};

Location Find(const Lines& lines, const QString& section, const QString& key) {
  Location at;
  for (qsizetype i = 0; i < lines.size(); ++i) {
    if (const auto name = SectionName(lines[i])) {
      if (at.section >= 0) break;  // the first section of that name is the one used
      if (SameName(*name, section)) {
        at.section = i;
        at.sectionEnd = i + 1;
      }
      continue;
    }
    if (at.section < 0) continue;
    if (!lines[i].trimmed().isEmpty()) at.sectionEnd = i + 1;
    if (at.key < 0) {
      const auto name = KeyName(lines[i]);
      if (name && SameName(*name, key)) at.key = i;
    }
  }
  return at;
}

// The whole file, or nothing when it does not exist or cannot be read.
std::optional<QByteArray> ReadAll(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  return file.readAll();
}

QString FullPath(const QString& path) {
  return QFileInfo(path).absoluteFilePath();
}

[[noreturn]] void ThrowCannotWrite(const QString& path) {
  throw AppError(QString("Cannot write the settings file \"%1\".").arg(FullPath(path)));
}

}  // namespace

QString IniFile::ReadString(const QString& section, const QString& key,
                            const QString& defaultValue) const {
  const std::optional<QByteArray> content = ReadAll(path_);
  if (!content) return defaultValue;
  const Parsed parsed = Split(*content);
  const Location at = Find(parsed.lines, section, key);
  if (at.key < 0) return defaultValue;
  const QByteArray& line = parsed.lines[at.key];
  QByteArray value = line.mid(line.indexOf('=') + 1).trimmed();
  // A value in double quotes keeps its blanks; the quotes are not part of it.
  if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"'))
    value = value.mid(1, value.size() - 2);
  return QString::fromUtf8(value);
}

int IniFile::ReadInteger(const QString& section, const QString& key,
                         const QString& defaultValue) const {
  return SettingsTextToInt(ReadString(section, key, defaultValue));
}

void IniFile::WriteString(const QString& section, const QString& key, const QString& value) const {
  QByteArray content;
  if (QFileInfo::exists(path_)) {
    // A file that cannot be read back must not be replaced by one holding only this key;
    // a file marked read-only is left alone although a rename could replace it.
    const std::optional<QByteArray> old = ReadAll(path_);
    if (!old || !QFileInfo(path_).isWritable()) ThrowCannotWrite(path_);
    content = *old;
  }
  Parsed parsed = Split(content);
  // A line break inside the value would turn the rest of it into lines of their own.
  QByteArray text = value.toUtf8();
  text.replace('\r', ' ').replace('\n', ' ');
  // Blanks at either end, or quotes around the whole, would be lost on reading: such a
  // value is written in double quotes, which reading takes off again.
  if (text != text.trimmed() || (text.size() >= 2 && text.startsWith('"') && text.endsWith('"')))
    text = '"' + text + '"';

  const Location at = Find(parsed.lines, section, key);
  if (at.key >= 0) {
    QByteArray& line = parsed.lines[at.key];
    const bool cr = line.endsWith('\r');
    line = line.left(line.indexOf('=') + 1) + text;
    if (cr) line += '\r';
  } else {
    const QByteArray cr = parsed.newline == "\r\n" ? "\r" : "";
    const QByteArray keyLine = key.toUtf8() + '=' + text + cr;
    if (at.section >= 0) {
      parsed.lines.insert(at.sectionEnd, keyLine);
    } else {
      parsed.lines.append('[' + section.toUtf8() + ']' + cr);
      parsed.lines.append(keyLine);
    }
  }

  QByteArray out = parsed.lines.join('\n');
  if (parsed.endsWithNewline || at.key < 0) out += '\n';

  // QSaveFile does not report a short write (a full disk) on commit; this does.
  WriteFileAtomically(path_, out);
}

void IniFile::WriteInteger(const QString& section, const QString& key, int value) const {
  WriteString(section, key, QString::number(value));
}

int SettingsTextToInt(const QString& text) {
  const QString t = text.trimmed();
  qsizetype i = 0;
  bool negative = false;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
  const qsizetype firstDigit = i;
  long long magnitude = 0;
  for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i) {
    magnitude = magnitude * 10 + (t[i].unicode() - '0');
    if (magnitude > static_cast<long long>(std::numeric_limits<int>::max()) + 1) break;
  }
  const long long value = negative ? -magnitude : magnitude;
  if (i == firstDigit || i != t.size() || value > std::numeric_limits<int>::max() ||
      value < std::numeric_limits<int>::min()) {
    throw EConvertError(QString("'%1' is not a valid integer value").arg(text));
  }
  return static_cast<int>(value);
}

IniFile SystemSettings() {
  return IniFile(QDir(SettingsDirectory()).filePath("SysSet.ini"));
}
