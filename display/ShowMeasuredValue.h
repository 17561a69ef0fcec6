#pragma once
// The value labels of the pages: the caption of `label` becomes the text of
// MeasuredValueText or CounterValueText.

#include <QString>

class QLabel;

void ShowMeasuredValue(QLabel* label, const QString& unit, int width, float scale, float divisor,
                       float value);
void ShowCounterValue(QLabel* label, const QString& unit, float scale, float divisor, double value);
