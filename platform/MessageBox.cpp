#include "platform/MessageBox.h"

#include <QApplication>
#include <cstdio>
#include <utility>

namespace {
MessageBoxHandler& Handler() {
  static MessageBoxHandler handler;
  return handler;
}

QMessageBox::StandardButton RealBox(const MessageBoxRequest& request) {
  QMessageBox box(request.icon, request.caption, request.text, request.buttons,
                  QApplication::activeWindow());
  if (request.defaultButton != QMessageBox::NoButton) box.setDefaultButton(request.defaultButton);
  return static_cast<QMessageBox::StandardButton>(box.exec());
}
}  // namespace

void ShowMessage(const QString& text) {
  AskQuestion({kApplicationTitle, text, QMessageBox::NoIcon, QMessageBox::Ok, QMessageBox::Ok});
}

QMessageBox::StandardButton AskQuestion(const MessageBoxRequest& request) {
  if (const MessageBoxHandler& handler = Handler()) return handler(request);
  return RealBox(request);
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) {
  return std::exchange(Handler(), std::move(handler));
}

void UseConsoleMessageBoxes(const QString& prefix) {
  SetMessageBoxHandler([prefix](const MessageBoxRequest& request) {
    // Boxes use "\r" as line breaks; one box stays one line.
    QString text = request.text.simplified();
    const QString line = prefix + "[" + request.caption + "] " + text;
    std::fprintf(stderr, "%s\n", qPrintable(line));
    return request.defaultButton != QMessageBox::NoButton ? request.defaultButton : QMessageBox::Ok;
  });
}
