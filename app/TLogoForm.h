#pragma once

#include <QLabel>
#include <QWidget>

// The splash window shown while the program's windows are created.
class TLogoForm : public QWidget {
  Q_OBJECT
 public:
  explicit TLogoForm(QWidget* parent = nullptr);

  QLabel* Image1;
  QLabel* Label1;  // company name
  QLabel* Label2;  // "RXM5620 Applications"
  QLabel* Label3;  // date of publication
  QLabel* Label4;  // build version
  QLabel* Label5;  // "Is starting the software ..."
};
