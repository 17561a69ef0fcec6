#pragma once

#include <QDialog>

// The print information window.
class TEnterInfoForm : public QDialog {
  Q_OBJECT
 public:
  explicit TEnterInfoForm(QWidget* parent = nullptr);
};
