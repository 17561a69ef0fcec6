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

namespace {

// The calendar day and the milliseconds into it of a stored date-time, without going
// through a local QDateTime (whose time-zone lookup costs a file system call).
bool SplitDays(double days, QDate& date, int& ms) {
  if (!std::isfinite(days) || std::fabs(days) > kMaxDays) return false;
  double whole = std::floor(days);
  double part = std::round((days - whole) * kMsPerDay);
  if (part >= kMsPerDay) {
    whole += 1;
    part = 0;
  }
  date = kEpoch.addDays(static_cast<qint64>(whole));
  ms = static_cast<int>(part);
  return date.isValid();
}

}  // namespace

QDateTime DateTimeFromDays(double days) {
  QDate date;
  int ms = 0;
  if (!SplitDays(days, date, ms)) return {};
  return QDateTime(date, QTime::fromMSecsSinceStartOfDay(ms));
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

DaysTextFormatter::DaysTextFormatter(const QLocale& locale)
    : locale_(locale), timeFormat_(LongTimeFormat(locale)) {
  // The locale's own digits (Arabic-Indic ones, say), when they are single characters.
  const QString zero = locale.zeroDigit();
  if (zero.size() == 1) {
    zero_ = zero[0].unicode();
  } else {
    fast_ = false;
  }
  const QString& f = timeFormat_;
  for (qsizetype i = 0; i < f.size();) {
    const QChar c = f[i];
    qsizetype run = 1;
    while (i + run < f.size() && f[i + run] == c) ++run;
    Token token;
    if (c == 'H' || c == 'h' || c == 'm' || c == 's') {
      if (run > 2) fast_ = false;
      token.field = static_cast<char>(c.toLatin1());
      token.twoDigits = run == 2;
    } else if (c == 'A' || c == 'a') {
      // "AP" / "ap" / "A" / "a": the locale's AM and PM texts, upper or lower case.
      qsizetype n = 1;
      if (i + 1 < f.size() && (f[i + 1] == 'P' || f[i + 1] == 'p')) n = 2;
      run = n;
      token.field = c == 'A' ? 'A' : 'a';
      twelveHour_ = true;
    } else if (c == '\'') {
      // Quoted text; two quotes stand for one.
      qsizetype end = i + 1;
      QString text;
      while (end < f.size()) {
        if (f[end] == '\'') {
          if (end + 1 < f.size() && f[end + 1] == '\'') {
            text += '\'';
            end += 2;
            continue;
          }
          break;
        }
        text += f[end++];
      }
      if (i + 1 < f.size() && f[i + 1] == '\'') text = "'";
      token.literal = text;
      run = end - i + 1;
    } else if (c.isLetter()) {
      fast_ = false;  // a field this formatter does not know (z, t, …)
      token.literal = QString(run, c);
    } else {
      token.literal = QString(run, c);
    }
    tokens_.push_back(token);
    i += run;
  }
}

QString DaysTextFormatter::FastTime(int ms) const {
  const int hour = ms / 3600000;
  const int minute = ms / 60000 % 60;
  const int second = ms / 1000 % 60;
  QString text;
  text.reserve(16);
  const char16_t zero = zero_;
  auto number = [&text, zero](int v, bool two) {
    if (two || v >= 10) text += QChar(static_cast<char16_t>(zero + v / 10 % 10));
    text += QChar(static_cast<char16_t>(zero + v % 10));
  };
  for (const Token& t : tokens_) {
    switch (t.field) {
      case 'H':
        number(hour, t.twoDigits);
        break;
      case 'h': {
        int h = hour;
        if (twelveHour_) {
          h = hour % 12;
          if (h == 0) h = 12;
        }
        number(h, t.twoDigits);
        break;
      }
      case 'm':
        number(minute, t.twoDigits);
        break;
      case 's':
        number(second, t.twoDigits);
        break;
      case 'A':
        text += (hour < 12 ? locale_.amText() : locale_.pmText()).toUpper();
        break;
      case 'a':
        text += (hour < 12 ? locale_.amText() : locale_.pmText()).toLower();
        break;
      default:
        text += t.literal;
        break;
    }
  }
  return text;
}

QString DaysTextFormatter::Text(double days) {
  QDate date;
  int ms = 0;
  if (!SplitDays(days, date, ms)) return {};
  const qint64 day = date.toJulianDay();
  if (!haveDay_ || day != cachedDay_) {
    cachedDay_ = day;
    haveDay_ = true;
    dateText_ = locale_.toString(date, QLocale::ShortFormat);
  }
  if (ms == 0) return dateText_;
  return dateText_ + ' ' +
         (fast_ ? FastTime(ms)
                : locale_.toString(QTime::fromMSecsSinceStartOfDay(ms), timeFormat_));
}
