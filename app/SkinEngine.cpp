#include "app/SkinEngine.h"

#include "platform/DataFolders.h"

#include <QApplication>
#include <QFile>

SkinEngine::SkinEngine() : sheet_(BuiltInSheet()) {
  Apply();
}

QString SkinEngine::LoadSkinFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    return QString("Skin file %1 cannot be read (%2); the current look stays.")
        .arg(path, file.errorString());
  }
  const QString sheet = QString::fromUtf8(file.readAll());
  if (sheet.trimmed().isEmpty()) {
    return QString("Skin file %1 is empty; the current look stays.").arg(path);
  }
  sheet_ = sheet;
  file_ = path;
  Apply();
  return {};
}

void SkinEngine::SetActive(bool active) {
  active_ = active;
  Apply();
}

void SkinEngine::Apply() const {
  if (auto* application = qobject_cast<QApplication*>(QCoreApplication::instance())) {
    application->setStyleSheet(active_ ? sheet_ : QString());
  }
}

const char* SkinEngine::BuiltInSheet() {
  return R"(/* built-in look: steel blue */
QMainWindow, QDialog { background-color: #e9eef4; }
QMenuBar { background-color: #dfe6ee; }
QMenuBar::item:selected, QMenu::item:selected { background-color: #3c6ea8; color: white; }
QToolBar { background-color: #dfe6ee; border-bottom: 1px solid #a9b8c9; spacing: 2px; }
QToolButton { border: 1px solid transparent; border-radius: 3px; }
QToolButton:hover { border: 1px solid #3c6ea8; background-color: #cfdcea; }
QPushButton { background-color: #f4f7fa; border: 1px solid #8aa0b8; border-radius: 3px; padding: 3px 10px; }
QPushButton:hover { border-color: #3c6ea8; }
QGroupBox { border: 1px solid #a9b8c9; border-radius: 4px; margin-top: 7px; }
QGroupBox::title { subcontrol-origin: margin; left: 8px; padding: 0 3px; color: #1f4e86; }
QTabBar::tab { background-color: #d5dee8; border: 1px solid #a9b8c9; padding: 3px 12px; }
QTabBar::tab:selected { background-color: #f4f7fa; }
QStatusBar { background-color: #dfe6ee; }
QProgressBar { border: 1px solid #8aa0b8; background-color: white; }
QProgressBar::chunk { background-color: #3c6ea8; }
)";
}

QString ApplySkinCode(SkinEngine& engine, int code) {
  if (code == 0) {
    engine.SetActive(false);
    return {};
  }
  if (code < 1 || code > 6) return {};
  const QString path = DataFile(QString("SkinsFile/%1.ats").arg(code, 2, 10, QChar('0')));
  const QString problem = engine.LoadSkinFile(path);
  if (!engine.Active()) engine.SetActive(true);
  return problem;
}
