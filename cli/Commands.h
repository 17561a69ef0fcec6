#pragma once
// The commands of rxm5620-cli. Each takes its arguments with the command name first,
// returns the exit code and throws CliError for a failure or a usage error.

#include <QStringList>

int ReadCommand(const QStringList& arguments);
int ShowCommand(const QStringList& arguments);
int ExportCommand(const QStringList& arguments);
int RecordCommand(const QStringList& arguments);
int ReportCommand(const QStringList& arguments);

// The whole tool: the command named first in `arguments` (after the program), or the help.
// Prints a failure as "rxm5620-cli: <what failed>: <why>" on stderr.
int RunCli(const QStringList& arguments);
