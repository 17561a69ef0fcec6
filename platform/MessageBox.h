#pragma once
// Message and question boxes. Every box of the program goes through here, so that tests
// (and the batch tools) can answer them instead of a user.

#include <QMessageBox>
#include <QString>
#include <functional>

struct MessageBoxRequest {
  QString caption;
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons = QMessageBox::Ok;
  QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
};

// Caption of every plain message box.
inline constexpr const char* kApplicationTitle = "Quvex RXM5620";

// A plain box with the application title and an OK button.
void ShowMessage(const QString& text);
// A box with its own caption and buttons; returns the button pressed.
QMessageBox::StandardButton AskQuestion(const MessageBoxRequest& request);

// Replaces the boxes (an empty function restores the real ones); returns the previous
// handler. The handler returns the button "pressed".
using MessageBoxHandler = std::function<QMessageBox::StandardButton(const MessageBoxRequest&)>;
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);

// For programs that run without a user (the unattended demonstration, the batch tool):
// every box becomes one line "[caption] text" on stderr, with `prefix` in front when
// given, and is answered with its default button (OK when it has none).
void UseConsoleMessageBoxes(const QString& prefix = QString());
