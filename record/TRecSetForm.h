#pragma once

#include <QDialog>

// The record settings window: the six recorded quantities and the intervals.
class TRecSetForm : public QDialog {
  Q_OBJECT
 public:
  explicit TRecSetForm(QWidget* parent = nullptr);
};
