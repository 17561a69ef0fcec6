#include "display/ShowMeasuredValue.h"

#include <QLabel>

#include "display/ValueFormat.h"

void ShowMeasuredValue(QLabel* label, const QString& unit, int width, float scale, float divisor,
                       float value) {
  label->setText(MeasuredValueText(unit, width, scale, divisor, value));
}

void ShowCounterValue(QLabel* label, const QString& unit, float scale, float divisor,
                      double value) {
  label->setText(CounterValueText(unit, scale, divisor, value));
}
