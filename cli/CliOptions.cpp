#include "cli/CliOptions.h"

#include <QRegularExpression>
#include <cmath>
#include <cstdio>

#include "cli/CliError.h"
#include "display/MeasurementModel.h"
#include "link/TComm.h"
#include "platform/PortDirectory.h"

QString PortTarget::Name() const {
  return devicePath.empty() ? QString("COM%1").arg(number) : QString::fromStdString(devicePath);
}

PortTarget ParsePort(const QString& text) {
  PortTarget target;
  static const QRegularExpression com("^COM([0-9]{1,3})$",
                                      QRegularExpression::CaseInsensitiveOption);
  const QRegularExpressionMatch match = com.match(text);
  if (match.hasMatch()) {
    target.number = match.captured(1).toInt();
    if (target.number >= kMinPortNumber && target.number <= kMaxPortNumber) return target;
  } else if (text.startsWith('/')) {
    target.devicePath = text.toStdString();
    return target;
  }
  UsageFailure(QString("--port: \"%1\" is neither COM1 to COM255 nor a device path").arg(text));
}

int ParseSpeedIndex(const QString& text) {
  bool ok = false;
  const uint value = text.toUInt(&ok);
  for (int i = 0; ok && i < static_cast<int>(std::size(kSpeedRates)); ++i)
    if (BaudRateValue(kSpeedRates[i]) == value) return i;
  UsageFailure(QString("--baud: \"%1\" is not one of 4800, 9600, 14400, 19200, 38400, 57600, "
                       "76800, 115200")
                   .arg(text));
}

uint8_t ParseAddress(const QString& text) {
  bool ok = false;
  const int value = text.toInt(&ok);
  if (!ok || value < 1 || value > 255)
    UsageFailure(QString("--address: \"%1\" is not an address from 1 to 255").arg(text));
  return static_cast<uint8_t>(value);
}

double ParseSeconds(const QString& option, const QString& text) {
  bool ok = false;
  const double value = text.toDouble(&ok);
  if (!ok || !std::isfinite(value) || value <= 0 || value > 1e6)
    UsageFailure(QString("%1: \"%2\" is not a number of seconds").arg(option, text));
  return value;
}

qint64 ParseDuration(const QString& text) {
  static const QRegularExpression form("^([0-9]+(?:\\.[0-9]+)?)([smh]?)$");
  const QRegularExpressionMatch match = form.match(text);
  const double number = match.hasMatch() ? match.captured(1).toDouble() : 0;
  const QString unit = match.captured(2);
  const double seconds = number * (unit == "h" ? 3600 : unit == "m" ? 60 : 1);
  if (!match.hasMatch() || seconds <= 0 || seconds > 366.0 * 24 * 3600)
    UsageFailure(
        QString("--duration: \"%1\" is not a duration such as 90, 90s, 10m or 2h").arg(text));
  return static_cast<qint64>(std::llround(seconds * 1000));
}

std::array<int, kRecordChannels> ParseRecordParameters(const QString& text) {
  const QStringList items = text.split(',');
  std::array<int, kRecordChannels> indices{};
  bool ok = items.size() == kRecordChannels;
  for (int i = 0; ok && i < kRecordChannels; ++i) {
    indices[i] = items[i].trimmed().toInt(&ok);
    ok = ok && indices[i] >= 0 && indices[i] < kParameterCount;
  }
  if (!ok)
    UsageFailure(
        QString("--params: \"%1\" is not six parameter indices from 0 to %2, separated by commas")
            .arg(text)
            .arg(kParameterCount - 1));
  return indices;
}

int ParseCode(const QString& option, const QString& text, int last) {
  bool ok = false;
  const int value = text.toInt(&ok);
  if (!ok || value < 0 || value > last)
    UsageFailure(QString("%1: \"%2\" is not a code from 0 to %3").arg(option, text).arg(last));
  return value;
}

std::vector<int> ParsePages(const QString& text) {
  std::vector<int> pages;
  for (const QString& item : text.split(',')) {
    bool ok = false;
    const int page = item.trimmed().toInt(&ok);
    if (!ok || page < 1 || page > 4 || std::find(pages.begin(), pages.end(), page) != pages.end())
      UsageFailure(
          QString("--pages: \"%1\" is not a list of the pages 1 to 4, each once").arg(text));
    pages.push_back(page);
  }
  return pages;
}

bool ParseCommandLine(QCommandLineParser& parser, const QStringList& arguments,
                      const QString& syntax) {
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  const QCommandLineOption help({"h", "help"}, "Shows this help.");
  parser.addOption(help);
  // The command name stands where a program name would.
  if (!parser.parse(arguments)) UsageFailure(arguments.value(0) + ": " + parser.errorText());
  if (parser.isSet(help)) {
    QString text = parser.helpText();
    text.replace(0, text.indexOf('\n'),
                 QString("Usage: rxm5620-cli %1 %2").arg(arguments.value(0), syntax));
    std::fputs(qPrintable(text), stdout);
    return false;
  }
  return true;
}

QString Required(const QCommandLineParser& parser, const QString& option) {
  if (!parser.isSet(option)) UsageFailure(QString("--%1 is required").arg(option));
  return parser.value(option);
}

QString OnePositional(const QCommandLineParser& parser, const QString& what) {
  const QStringList items = parser.positionalArguments();
  if (items.size() != 1)
    UsageFailure(items.isEmpty()
                     ? QString("%1 is missing").arg(what)
                     : QString("one %1 expected, got \"%2\"").arg(what, items.join(' ')));
  return items.front();
}
