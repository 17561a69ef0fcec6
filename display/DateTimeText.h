#pragma once
// Date-times as the program stores them (days since 1899-12-30 00:00 local time, the
// fraction being the time of day) and their texts in the system's formats.

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <vector>

double DaysFromDateTime(const QDateTime& local);
// Invalid for a number that is not finite or out of the calendar's range.
QDateTime DateTimeFromDays(double days);

// The system's long time format without the toolkit's time-zone token.
QString LongTimeFormat(const QLocale& locale);

// Short date, a blank, long time: the text of a reading's time.
QString ReadingDateTimeText(const QLocale& locale, const QDateTime& when);

// The same for a stored date-time; a time exactly at midnight gives the date alone, and a
// date-time that is no date gives an empty text.
QString DaysText(const QLocale& locale, double days);
QString DaysDateText(const QLocale& locale, double days);
QString DaysTimeText(const QLocale& locale, double days);

// DaysText for many date-times in a row (an export): the same texts, formed without the
// locale's machinery where the long time format is made of plain hour, minute, second and
// AM/PM fields, and the date's text formed once per day.
class DaysTextFormatter {
 public:
  explicit DaysTextFormatter(const QLocale& locale);
  QString Text(double days);

 private:
  struct Token {
    char field = 0;  // 'H', 'h', 'm', 's', 'a' (AM/PM as the locale writes it), 0 literal
    bool twoDigits = false;
    QString literal;
  };
  QString FastTime(int ms) const;

  QLocale locale_;
  QString timeFormat_;
  std::vector<Token> tokens_;
  bool fast_ = true;
  char16_t zero_ = u'0';
  bool twelveHour_ = false;
  qint64 cachedDay_ = 0;
  bool haveDay_ = false;
  QString dateText_;
};
