#pragma once

#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>
#include <array>
#include <functional>

// The main window's eight-panel status bar; panel 4 holds ProgressBar1 and panel 6 the
// maker's logo, which opens the website when clicked.
class MainStatusBar : public QStatusBar {
  Q_OBJECT
 public:
  static constexpr int kPanels = 8;

  explicit MainStatusBar(QWidget* parent = nullptr);

  void SetPanelText(int panel, const QString& text);
  QString PanelText(int panel) const;       // as set
  QString ShownPanelText(int panel) const;  // as shown: cut when it does not fit
  // Width of each panel in pixels: panels 0 to 3 and 7 as wide as their widest text,
  // panel 5 what is left (at least 50).
  int PanelWidth(int panel) const;

  QProgressBar* ProgressBar1;
  std::function<void()> onLogoClicked;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ShowPanelText(QLabel* label, const QString& text);

  std::array<QWidget*, kPanels> panels_{};
  std::array<QString, kPanels> texts_;  // the texts as set, whole
};
