#pragma once
// Date-times as the program stores them (days since 1899-12-30 00:00 local time, the
// fraction being the time of day) and their texts in the system's formats.

#include <QDateTime>
#include <QLocale>
#include <QString>

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
