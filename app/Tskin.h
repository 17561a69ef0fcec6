#pragma once

#include <QDialog>

// The style window: skin, plot colours and start page.
class Tskin : public QDialog {
  Q_OBJECT
 public:
  explicit Tskin(QWidget* parent = nullptr);
};
