#include "display/DateTimeText.h"

#include <QRegularExpression>
#include <cmath>

namespace {
const QDate kEpoch(1899, 12, 30);
constexpr double kMsPerDay = 86400000.0;
// QDate holds days within about ±2^37; stay far inside that.
constexpr double kMaxDays = 1e9;
}  // namespace

double DaysFromDateTime(const QDateTime& local) {
  return static_cast<double>(kEpoch.daysTo(local.date())) +
         local.time().msecsSinceStartOfDay() / kMsPerDay;
}

QDateTime DateTimeFromDays(double days) {
  if (!std::isfinite(days) || std::fabs(days) > kMaxDays) return {};
  double whole = std::floor(days);
  double ms = std::round((days - whole) * kMsPerDay);
  if (ms >= kMsPerDay) {
    whole += 1;
    ms = 0;
  }
  const QDate date = kEpoch.addDays(static_cast<qint64>(whole));
  return QDateTime(date, QTime::fromMSecsSinceStartOfDay(static_cast<int>(ms)));
}

QString LongTimeFormat(const QLocale& locale) {
  // The toolkit's long time format ends in the time zone ("HH:mm:ss t"); the times shown
  // are local clock times, as the desktop's long time format shows them.
  QString format = locale.timeFormat(QLocale::LongFormat);
  static const QRegularExpression zone("\\s*\\bt+\\b\\s*");
  format.replace(zone, " ");
  return format.trimmed();
}

QString ReadingDateTimeText(const QLocale& locale, const QDateTime& when) {
  return locale.toString(when.date(), QLocale::ShortFormat) + ' ' +
         locale.toString(when.time(), LongTimeFormat(locale));
}

QString DaysText(const QLocale& locale, double days) {
  const QDateTime when = DateTimeFromDays(days);
  if (!when.isValid()) return {};
  if (when.time().msecsSinceStartOfDay() == 0) {
    return locale.toString(when.date(), QLocale::ShortFormat);
  }
  return ReadingDateTimeText(locale, when);
}

QString DaysDateText(const QLocale& locale, double days) {
  const QDateTime when = DateTimeFromDays(days);
  return when.isValid() ? locale.toString(when.date(), QLocale::ShortFormat) : QString();
}

QString DaysTimeText(const QLocale& locale, double days) {
  const QDateTime when = DateTimeFromDays(days);
  return when.isValid() ? locale.toString(when.time(), LongTimeFormat(locale)) : QString();
}
