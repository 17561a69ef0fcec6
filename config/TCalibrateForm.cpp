#include "config/TCalibrateForm.h"

TCalibrateForm::TCalibrateForm(QWidget* parent) : QDialog(parent) {
  setObjectName("TCalibrateForm");
  setWindowTitle("");
}
