#include "app/Tskin.h"

Tskin::Tskin(QWidget* parent) : QDialog(parent) {
  setObjectName("Tskin");
  setWindowTitle("Style settings");
}
