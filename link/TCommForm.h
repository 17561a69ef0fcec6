#pragma once

#include <QDialog>

// The communication settings window: port, speed and slave address.
class TCommForm : public QDialog {
  Q_OBJECT
 public:
  explicit TCommForm(QWidget* parent = nullptr);
};
