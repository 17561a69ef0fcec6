#include "record/TRecordForm.h"

TRecordForm::TRecordForm(QWidget* parent) : QDialog(parent) {
  setObjectName("TRecordForm");
  setWindowTitle("Record");
}
