#include "app/TMainForm.h"

#include "display/MeasurementModel.h"

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent) {
  setWindowTitle("QUVEX Technologies,Inc.");
  resize(1000, 768);
  InitMeasurementRecord(MeasurementData);
}
