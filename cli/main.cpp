#include <QApplication>

#include "cli/Commands.h"
#include "platform/MessageBox.h"

namespace {

QtMessageHandler gQtHandler = nullptr;

// Qt's notes about the runtime folder, which the tool does not use, are noise in a
// script's error output.
void FilterQtMessages(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (text.startsWith("QStandardPaths: ") && text.contains("runtime")) return;
  gQtHandler(type, context, text);
}

}  // namespace

int main(int argc, char** argv) {
  gQtHandler = qInstallMessageHandler(FilterQtMessages);
  // No display is needed: the tool shows no window, and a PDF needs only fonts.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setApplicationName("rxm5620-cli");
  UseConsoleMessageBoxes("rxm5620-cli: ");
  return RunCli(QApplication::arguments());
}
