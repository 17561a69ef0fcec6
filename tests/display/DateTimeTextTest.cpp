#include "display/DateTimeText.h"

#include <gtest/gtest.h>

namespace {

// The fast formatter gives the locale's own texts, in every locale's time format.
TEST(DateTimeText, TheFormatterGivesTheLocalesTexts) {
  for (const char* name : {"C", "en_US", "de_DE", "zh_CN", "ja_JP", "ar_EG", "fr_CA", "ko_KR"}) {
    SCOPED_TRACE(name);
    const QLocale locale(name);
    DaysTextFormatter formatter(locale);
    for (double days : {46366.0, 46366.5, 46366.000011574, 46366.999988426, 46366.041666667,
                        46366.54321, 46367.75, 2.5, -1.25}) {
      EXPECT_EQ(formatter.Text(days), DaysText(locale, days)) << days;
    }
  }
}

struct DaysCase {
  double days;
  const char* text;  // in the C locale
};
const DaysCase kDays[] = {
    {46366.333333333336, "10 Dec 2026 08:00:00"},
    {46367.0, "11 Dec 2026"},           // midnight: the date alone
    {46366.9999999999, "11 Dec 2026"},  // rounds to the next midnight
    {46366.99999999, "10 Dec 2026 23:59:59"},
    {0.5, "30 Dec 1899 12:00:00"},
};

TEST(DateTimeText, StoredDateTimesAsText) {
  for (const DaysCase& c : kDays) EXPECT_EQ(DaysText(QLocale::c(), c.days), c.text) << c.days;
  EXPECT_EQ(DaysText(QLocale::c(), std::nan("")), QString());
  EXPECT_EQ(DaysText(QLocale::c(), 1e300), QString());
  const QDateTime when(QDate(2026, 12, 10), QTime(8, 0, 0));
  EXPECT_DOUBLE_EQ(DaysFromDateTime(when), 46366.333333333336);
  EXPECT_EQ(DateTimeFromDays(46366.333333333336), when);
}

}  // namespace
