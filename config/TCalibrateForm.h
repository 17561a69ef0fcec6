#pragma once

#include <QDialog>

#include "link/ConfigViews.h"

// The calibration window.
class TCalibrateForm : public QDialog, public CalibrationView {
  Q_OBJECT
 public:
  explicit TCalibrateForm(QWidget* parent = nullptr);
};
