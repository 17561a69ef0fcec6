#include "record/TRecSetForm.h"

TRecSetForm::TRecSetForm(QWidget* parent) : QDialog(parent) {
  setObjectName("TRecSetForm");
  setWindowTitle("Record setting");
}
