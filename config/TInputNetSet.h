#pragma once

#include <QDialog>

#include "link/ConfigViews.h"

// The instrument settings window.
class TInputNetSet : public QDialog, public InstrumentSettingsView {
  Q_OBJECT
 public:
  explicit TInputNetSet(QWidget* parent = nullptr);
  void ShowInstrumentSettingsForm() override { show(); }
};
