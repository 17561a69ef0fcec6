#pragma once

#include <QDialog>

#include "link/ConfigViews.h"

// The alarm settings window.
class TAlarmForm : public QDialog, public AlarmView {
  Q_OBJECT
 public:
  explicit TAlarmForm(QWidget* parent = nullptr);
  void ShowAlarmFormModal() override { exec(); }
};
