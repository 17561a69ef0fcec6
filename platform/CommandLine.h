#pragma once
// The file named on the command line, shared by the windows that open it at start-up.

#include <QString>
#include <QStringList>
#include <cstdint>

extern QString CommandLineFile;  // empty when the program got no argument
extern uint8_t StartedWithFile;  // 1 when it got at least one argument; the port scan clears it

// The arguments after the program's own path, joined by blanks and trimmed; when the
// text then begins with a double quote, its first and last characters are dropped.
QString CommandLineFileFrom(const QStringList& arguments);

// No file named, as when the program got no argument.
void ResetCommandLineState();
