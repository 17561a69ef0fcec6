#pragma once
// Errors shown to the user by the general error handler: a handler that does not catch
// one ends there, its text is shown in a message box, and the program goes on.

#include <QObject>
#include <QString>
#include <functional>
#include <stdexcept>

class AppError : public std::runtime_error {
 public:
  explicit AppError(const QString& text) : std::runtime_error(text.toStdString()), text_(text) {}
  const QString& Text() const { return text_; }

 private:
  QString text_;
};

// A settings value that is not a number where one is expected.
class EConvertError : public AppError {
 public:
  using AppError::AppError;
};

// Runs one event handler under the general error handler: an AppError or any other
// exception that escapes it is shown as a message box with its text. Returns false
// when the handler was ended by an error.
bool RunHandler(const std::function<void()>& handler);

// Connects `signal` of `sender` to `handler`, run under the general error handler.
template <typename Sender, typename Signal>
void ConnectHandler(Sender* sender, Signal signal, QObject* context,
                    std::function<void()> handler) {
  QObject::connect(sender, signal, context,
                   [handler = std::move(handler)] { RunHandler(handler); });
}
