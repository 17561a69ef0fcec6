#pragma once

#include <QDialog>

// The instrument settings window.
class TInputNetSet : public QDialog {
  Q_OBJECT
 public:
  explicit TInputNetSet(QWidget* parent = nullptr);
};
