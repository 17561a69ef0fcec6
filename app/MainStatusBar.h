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
  QString PanelText(int panel) const;
  // Width of each panel in pixels (panel 5 takes what is left, at least 50).
  int PanelWidth(int panel) const;

  QProgressBar* ProgressBar1;
  std::function<void()> onLogoClicked;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::array<QWidget*, kPanels> panels_{};
};
