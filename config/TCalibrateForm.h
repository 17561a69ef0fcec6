#pragma once

#include <QDialog>

// The calibration window.
class TCalibrateForm : public QDialog {
  Q_OBJECT
 public:
  explicit TCalibrateForm(QWidget* parent = nullptr);
};
