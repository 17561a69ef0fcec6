#pragma once

#include <QDialog>

// The record window: trend recording and the record chart.
class TRecordForm : public QDialog {
  Q_OBJECT
 public:
  explicit TRecordForm(QWidget* parent = nullptr);
};
