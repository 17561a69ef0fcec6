#include "config/TAlarmForm.h"

TAlarmForm::TAlarmForm(QWidget* parent) : QDialog(parent) {
  setObjectName("TAlarmForm");
  setWindowTitle("Alarm setting");
}
