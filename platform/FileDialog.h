#pragma once
// Open and save dialogs that keep the name last chosen, with filters written as pairs of
// description and pattern separated by "|". Tests answer them through a handler.

#include <QString>
#include <functional>

class QWidget;

class FileDialog {
 public:
  enum Kind { Open, Save };

  explicit FileDialog(Kind kind) : kind_(kind) {}

  QString FileName;  // initial name, then the name last chosen
  QString Filter;    // "Description|*.ext|Other|*.*"

  // Shows the dialog; true with FileName set when the user chose a file.
  bool Execute(QWidget* parent);
  Kind DialogKind() const { return kind_; }

  // The handler gets the dialog and returns the chosen name, or an empty text for Cancel.
  using Handler = std::function<QString(const FileDialog&)>;
  static Handler SetHandler(Handler handler);

  // "A|*.a|B|*.*" as a Qt name filter list "A (*.a);;B (*.*)".
  static QString QtFilter(const QString& filter);

 private:
  Kind kind_;
};
