#include "print/TPrinterForm.h"

TPrinterForm::TPrinterForm(QWidget* parent) : QDialog(parent) {
  setObjectName("TPrinterForm");
  setWindowTitle("");
}
