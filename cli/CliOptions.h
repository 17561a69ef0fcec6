#pragma once
// The values of the batch tool's options, checked: each parser throws a usage error
// (exit 2) that names the option and what it takes.

#include <QCommandLineParser>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "record/RecordFile.h"

// "COM<n>" (n 1 to 255, through the port directory like the application) or a device path.
struct PortTarget {
  int number = 0;          // 0 for a device path
  std::string devicePath;  // empty for a port number
  QString Name() const;    // as the user wrote it, for messages
};
PortTarget ParsePort(const QString& text);

// The index of the application's speed (4800 to 115200) written as bit/s.
int ParseSpeedIndex(const QString& text);
uint8_t ParseAddress(const QString& text);  // 1 to 255
// Seconds, more than zero; `option` names it in the message.
double ParseSeconds(const QString& option, const QString& text);
// "90", "90s", "10m" or "2h", in milliseconds, more than zero.
qint64 ParseDuration(const QString& text);
// Six record parameter indices 0 to 114, comma-separated.
std::array<int, kRecordChannels> ParseRecordParameters(const QString& text);
// An integer code from 0 to `last`.
int ParseCode(const QString& option, const QString& text, int last);
// Report pages: a comma-separated list of 1 to 4, each at most once, in the order given.
std::vector<int> ParsePages(const QString& text);

// Parses `arguments` (the command name first) with `parser`: an unknown option or a
// missing value is a usage error. Returns false when --help was asked for (the help has
// been printed, its first line "Usage: rxm5620-cli <command> <syntax>").
bool ParseCommandLine(QCommandLineParser& parser, const QStringList& arguments,
                      const QString& syntax);
// The value of a required option; a usage error names it when it is missing.
QString Required(const QCommandLineParser& parser, const QString& option);
// The single positional argument `what` (e.g. "FILE.qvm"); a usage error otherwise.
QString OnePositional(const QCommandLineParser& parser, const QString& what);
