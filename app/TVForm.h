#pragma once

#include <QDialog>
#include <QLabel>
#include <QPushButton>

// The version window.
class TVForm : public QDialog {
  Q_OBJECT
 public:
  explicit TVForm(QWidget* parent = nullptr);

  QLabel* Image1;
  QLabel* Label1;
  QLabel* Label2;
  QLabel* Label3;
  QLabel* Label4;
  QLabel* Label5;
  QPushButton* Button1;  // "Enter"
};
