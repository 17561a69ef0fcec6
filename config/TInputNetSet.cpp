#include "config/TInputNetSet.h"

TInputNetSet::TInputNetSet(QWidget* parent) : QDialog(parent) {
  setObjectName("TInputNetSet");
  setWindowTitle("Instrument settings");
}
