// read and show: one reading from the instrument, and a reading from a file, as text.
#include <QCommandLineParser>
#include <QFileInfo>
#include <cstdio>

#include "cli/CliError.h"
#include "cli/CliFiles.h"
#include "cli/CliOptions.h"
#include "cli/Commands.h"
#include "cli/InstrumentLink.h"
#include "cli/ReadingText.h"
#include "files/MeasurementFile.h"
#include "platform/Errors.h"

namespace {

void PrintReading(const MeasurementRecord& record, bool json) {
  if (json) {
    std::fputs(ReadingJson(record).constData(), stdout);
  } else {
    for (const QString& line : ReadingLines(record)) std::printf("%s\n", line.toUtf8().constData());
  }
  std::fflush(stdout);
}

}  // namespace

int ReadCommand(const QStringList& arguments) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      "Takes one reading of all channels from the instrument and prints it as `show` does, "
      "or saves it as a measurement file.");
  AddLinkOptions(parser);
  parser.addOptions({
      {"timeout", "Seconds to keep asking before giving up (default 20).", "S", "20"},
      {"out", "Saves the reading as a measurement file (.qvm).", "FILE"},
      {"json", "Prints the raw numbers as JSON."},
  });
  if (!ParseCommandLine(parser, arguments, "--port PORT [options]")) return kExitDone;
  if (!parser.positionalArguments().isEmpty())
    UsageFailure("read: unexpected argument \"" + parser.positionalArguments().front() + "\"");
  const LinkOptions options = LinkOptionsFrom(parser);
  const int timeoutMs = static_cast<int>(ParseSeconds("--timeout", parser.value("timeout")) * 1000);

  InstrumentLink link(options);
  link.Open();
  link.TakeReading(timeoutMs);
  if (parser.isSet("out")) {
    try {
      WriteMeasurementFile(parser.value("out"), MeasurementData);
    } catch (const AppError& error) {
      Failure(parser.value("out") + ": " + error.Text());
    }
  }
  if (parser.isSet("json") || !parser.isSet("out"))
    PrintReading(MeasurementData, parser.isSet("json"));
  return kExitDone;
}

int ShowCommand(const QStringList& arguments) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      "Prints every value of the three channel pages and of the three-phase page of a "
      "measurement file, one a line: page, box, caption and text, separated by tabs.");
  parser.addOption({"json", "Prints the raw numbers as JSON."});
  parser.addPositionalArgument("FILE.qvm", "The measurement file.");
  if (!ParseCommandLine(parser, arguments, "[--json] FILE.qvm")) return kExitDone;
  const QString path = OnePositional(parser, "FILE.qvm");
  MeasurementRecord record{};
  ReadReadingOrFail(path, record);
  PrintReading(record, parser.isSet("json"));
  return kExitDone;
}
