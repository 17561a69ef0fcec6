#pragma once
// How a command of the batch tool ends: its exit code and the one line it prints.

#include <QString>
#include <stdexcept>

inline constexpr int kExitDone = 0;
inline constexpr int kExitFailed = 1;  // the instrument or a file failed
inline constexpr int kExitUsage = 2;   // the command line is wrong

class CliError : public std::runtime_error {
 public:
  CliError(int code, const QString& text)
      : std::runtime_error(text.toStdString()), code_(code), text_(text) {}
  int Code() const { return code_; }
  // "<what failed>: <why>", printed after "rxm5620-cli: ".
  const QString& Text() const { return text_; }

 private:
  int code_;
  QString text_;
};

[[noreturn]] inline void UsageFailure(const QString& text) {
  throw CliError(kExitUsage, text);
}
[[noreturn]] inline void Failure(const QString& text) {
  throw CliError(kExitFailed, text);
}
