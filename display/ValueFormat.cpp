#include "display/ValueFormat.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace {

// Digits and decimal exponent of x rounded to 15 significant digits, trailing zeros dropped.
struct Decimal {
  bool negative = false;
  QString digits;    // at least one digit, no leading zero
  int exponent = 0;  // x = 0.d1d2... * 10^(exponent + 1), i.e. d1 stands at 10^exponent
};

Decimal ToDecimal(long double x) {
  char buffer[64];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::scientific, 14);
  const QString text = QString::fromLatin1(buffer, result.ptr - buffer);  // "-d.ddde+XX"
  Decimal d;
  qsizetype i = 0;
  if (text[i] == '-') {
    d.negative = true;
    ++i;
  }
  const qsizetype e = text.indexOf('e');
  d.digits = text.mid(i, e - i).remove('.');
  while (d.digits.size() > 1 && d.digits.endsWith('0')) d.digits.chop(1);
  d.exponent = text.mid(e + 1).toInt();
  return d;
}

bool IsExponentForm(const QString& text) {
  return text.contains('E');
}

// Keeps the first `width` characters. A text in exponent form keeps its exponent and loses
// mantissa digits instead, so that a cut never changes the magnitude shown.
QString CutToWidth(const QString& text, int width) {
  if (width < 0 || text.size() <= width) return text;
  if (!IsExponentForm(text)) return text.left(width);
  const QString exponent = text.mid(text.indexOf('E'));
  QString mantissa = text.left(text.indexOf('E'));
  const qsizetype minimum = mantissa.startsWith('-') ? 2 : 1;
  mantissa.truncate(std::max<qsizetype>(minimum, width - exponent.size()));
  if (mantissa.endsWith('.')) mantissa.chop(1);
  return mantissa + exponent;
}

QString NonFiniteText(long double x) {
  if (std::isnan(x)) return "NaN";
  return x < 0 ? "-Inf" : "Inf";
}

// Steps shared by both captions: round v x scale to a whole number (halves to even), divide
// by the divisor in extended precision, write it in general form, ".0" for whole numbers,
// cut to the width. A float32 product fits a double exactly and its rounding is exact at
// any magnitude, so no integer conversion can overflow.
QString ScaledText(float v, int width, float scale, float divisor) {
  if (!std::isfinite(v)) return CutToWidth(NonFiniteText(v), width);
  const double product = static_cast<double>(v) * static_cast<double>(scale);
  const long double n = std::nearbyint(product) + 0.0;  // adding 0 turns -0 into 0
  const long double x = n / static_cast<long double>(divisor);
  QString text = GeneralText(x);
  if (std::isfinite(x) && !text.contains('.') && !IsExponentForm(text)) text += ".0";
  return CutToWidth(text, width);
}

// Narrows like a float32 store: out-of-range magnitudes become infinite, NaN stays NaN.
float NarrowToFloat(double value) {
  constexpr double kOverflow = 0x1.ffffffp+127;  // halfway between FLT_MAX and 2^128
  if (std::isnan(value)) return std::numeric_limits<float>::quiet_NaN();
  if (std::fabs(value) >= kOverflow) {
    return value < 0 ? -std::numeric_limits<float>::infinity()
                     : std::numeric_limits<float>::infinity();
  }
  return static_cast<float>(value);
}

}  // namespace

QString GeneralText(long double x) {
  if (!std::isfinite(x)) return NonFiniteText(x);
  if (x == 0) return "0";
  const Decimal d = ToDecimal(x);
  QString text = d.negative ? "-" : "";
  if (d.exponent < -5 || d.exponent >= 15) {
    text += d.digits.left(1);
    if (d.digits.size() > 1) text += '.' + d.digits.mid(1);
    return text + 'E' + QString::number(d.exponent);
  }
  if (d.exponent < 0) return text + "0." + QString(-d.exponent - 1, '0') + d.digits;
  const qsizetype whole = d.exponent + 1;
  if (d.digits.size() <= whole) return text + d.digits + QString(whole - d.digits.size(), '0');
  return text + d.digits.left(whole) + '.' + d.digits.mid(whole);
}

QString MeasuredValueText(const QString& unit, int width, float scale, float divisor, float value) {
  float v = value;
  // Only a finite value above 1000 takes the thousands step, and only once.
  if (std::isfinite(v) && v > 1000.0f) {
    v = v / 1000.0f;
    return ScaledText(v, width, scale, divisor) + " K" + unit;
  }
  return ScaledText(v, width, scale, divisor) + unit;
}

QString CounterValueText(const QString& unit, float scale, float divisor, double value) {
  return ScaledText(NarrowToFloat(value), 9, scale, divisor) + unit;
}
