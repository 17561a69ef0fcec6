#pragma once

#include <QDialog>

// The print preview window.
class TPrinterForm : public QDialog {
  Q_OBJECT
 public:
  explicit TPrinterForm(QWidget* parent = nullptr);
};
