#pragma once

#include <QDialog>

// The alarm settings window.
class TAlarmForm : public QDialog {
  Q_OBJECT
 public:
  explicit TAlarmForm(QWidget* parent = nullptr);
};
