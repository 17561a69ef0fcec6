#include <QCommandLineParser>
#include <cstdio>

#include "cli/CliError.h"
#include "cli/Commands.h"
#include "platform/Errors.h"

namespace {

struct Command {
  const char* name;
  int (*run)(const QStringList&);
  const char* summary;
};

const Command kCommands[] = {
    {"read", ReadCommand, "one reading from the instrument, printed or saved as .qvm"},
    {"show", ShowCommand, "the values of a measurement file (.qvm), as text or JSON"},
    {"report", ReportCommand, "the printed report of a .qvm or .qvr file as a PDF"},
    {"export", ExportCommand, "a record file (.qvr) as a spreadsheet (.xlsx or CSV)"},
    {"record", RecordCommand, "a trend recording from the instrument into a record file"},
};

void PrintHelp(FILE* to) {
  std::fprintf(to,
               "Usage: rxm5620-cli COMMAND [options]\n"
               "The RXM5620 without a window, for scripts and test benches.\n\nCommands:\n");
  for (const Command& c : kCommands) std::fprintf(to, "  %-8s %s\n", c.name, c.summary);
  std::fprintf(to,
               "\n`rxm5620-cli COMMAND --help` shows a command's options.\n"
               "Exit codes: 0 done, 1 the instrument or a file failed, 2 bad usage.\n");
}

}  // namespace

int RunCli(const QStringList& arguments) {
  const QString name = arguments.value(1);
  try {
    if (name.isEmpty()) {
      PrintHelp(stderr);
      return kExitUsage;
    }
    if (name == "--help" || name == "-h" || name == "help") {
      PrintHelp(stdout);
      return kExitDone;
    }
    for (const Command& c : kCommands) {
      if (name == c.name) return c.run(arguments.mid(1));
    }
    UsageFailure(QString("unknown command \"%1\" (rxm5620-cli --help lists them)").arg(name));
  } catch (const CliError& error) {
    std::fprintf(stderr, "rxm5620-cli: %s\n", error.Text().toUtf8().constData());
    return error.Code();
  } catch (const AppError& error) {
    std::fprintf(stderr, "rxm5620-cli: %s\n", error.Text().simplified().toUtf8().constData());
    return kExitFailed;
  }
}
