#include "link/TCommForm.h"

TCommForm::TCommForm(QWidget* parent) : QDialog(parent) {
  setObjectName("TCommForm");
  setWindowTitle("Communication settings");
}
