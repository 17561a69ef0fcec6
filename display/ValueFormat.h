#pragma once
// How a measured number becomes the short text of a value label (and of a printed report):
// a single thousands step, rounding with halves to even, the general decimal text, ".0" for
// whole numbers, a cut to the width, then the unit.

#include <QString>

// The general decimal text of x: at most 15 significant digits, no trailing zeros, a period
// as decimal point, "-" for negatives. Magnitudes from 1e-5 to below 1e15 are written
// without exponent, others as "1.5E15" or "1E-7"; "NaN", "Inf" and "-Inf" for the rest.
QString GeneralText(long double x);

// The caption of a float32 value: text of at most `width` characters followed by the unit,
// with " K" in front of the unit when the value was above 1000 and divided by it.
// `scale` and `divisor` set the resolution: 1000/1000 three decimals, 1000/10 a fraction as
// percent with one decimal, 10/10 one decimal.
QString MeasuredValueText(const QString& unit, int width, float scale, float divisor, float value);

// The caption of a float64 energy counter: narrowed to float32, width 9, no thousands step.
QString CounterValueText(const QString& unit, float scale, float divisor, double value);
