#pragma once

#include <QMainWindow>

// The main window: pages of the reading, menus, tool bar and status bar.
class TMainForm : public QMainWindow {
  Q_OBJECT
 public:
  explicit TMainForm(QWidget* parent = nullptr);
};
