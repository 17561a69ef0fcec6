#include "platform/FileDialog.h"

#include <QFileDialog>
#include <QStringList>
#include <utility>

namespace {
FileDialog::Handler& CurrentHandler() {
  static FileDialog::Handler handler;
  return handler;
}
}  // namespace

bool FileDialog::Execute(QWidget* parent) {
  QString chosen;
  if (const Handler& handler = CurrentHandler()) {
    chosen = handler(*this);
  } else {
    // The program asks "File exists" itself, and a name typed without extension is kept.
    QFileDialog dialog(parent, QString(), QString(), QtFilter(Filter));
    dialog.setAcceptMode(kind_ == Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(kind_ == Save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (!FileName.isEmpty()) dialog.selectFile(FileName);
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
      chosen = dialog.selectedFiles().first();
    }
  }
  if (chosen.isEmpty()) return false;
  FileName = chosen;
  return true;
}

FileDialog::Handler FileDialog::SetHandler(Handler handler) {
  return std::exchange(CurrentHandler(), std::move(handler));
}

QString FileDialog::QtFilter(const QString& filter) {
  const QStringList parts = filter.split('|');
  QStringList filters;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    filters << QString("%1 (%2)").arg(parts[i], QString(parts[i + 1]).replace(';', ' '));
  }
  return filters.join(";;");
}
