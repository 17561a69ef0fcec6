#include "print/TEnterInfoForm.h"

TEnterInfoForm::TEnterInfoForm(QWidget* parent) : QDialog(parent) {
  setObjectName("TEnterInfoForm");
  setWindowTitle("Enter the print information");
}
