#include "platform/CommandLine.h"

QString CommandLineFile;
uint8_t StartedWithFile = 0;

QString CommandLineFileFrom(const QStringList& arguments) {
  QString text = arguments.mid(1).join(' ');
  // Trim blanks and control characters at both ends.
  int first = 0;
  int last = static_cast<int>(text.size()) - 1;
  while (first <= last && text[first].unicode() <= ' ') ++first;
  while (last >= first && text[last].unicode() <= ' ') --last;
  text = text.mid(first, last - first + 1);
  if (text.startsWith('"')) text = text.mid(1, text.size() - 2);
  return text;
}

void ResetCommandLineState() {
  CommandLineFile.clear();
  StartedWithFile = 0;
}
