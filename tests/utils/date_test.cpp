#include "utils/date.h"

#include <gtest/gtest.h>

#include <ctime>
#include <string>

namespace kvt {
namespace {

TKVDate DateOf(int year, int month, int day) {
  TKVDate date;
  EXPECT_TRUE(date.Set(year, month, day)) << year << "-" << month << "-" << day;
  return date;
}

std::string TextOf(const TKVDate& date, int form, int size = 32) {
  char buffer[32];
  return date.ToText(buffer, size, form);
}

TEST(DateTest, PackedLayout) {
  const TKVDate date = DateOf(2009, 3, 5);
  EXPECT_EQ(date.GetPacked(), ((2009 - 1980) << 9) | (3 << 5) | 5);
  EXPECT_EQ(TKVDate(date.GetPacked()), date);
  EXPECT_LT(DateOf(2009, 3, 5), DateOf(2009, 3, 6));
  EXPECT_LT(DateOf(2009, 12, 31), DateOf(2010, 1, 1));
  EXPECT_GT(DateOf(1990, 2, 1), DateOf(1989, 12, 31));
}

TEST(DateTest, TextForms) {
  const TKVDate date = DateOf(2009, 3, 5);
  EXPECT_EQ(TextOf(date, 0), "03/05/2009");
  EXPECT_EQ(TextOf(date, 1), "05 March 2009");
  EXPECT_EQ(TextOf(date, 2), "05-Mar-2009");
  EXPECT_EQ(TextOf(date, 3), "03/05/09");
  EXPECT_EQ(TextOf(date, 4), "03/05/2009");
  EXPECT_EQ(TextOf(date, -1), "03/05/2009");
  EXPECT_EQ(TextOf(DateOf(1985, 11, 20), 3), "11/20/85");
  EXPECT_EQ(TextOf(DateOf(2107, 1, 1), 3), "01/01/107");
  EXPECT_EQ(TextOf(date, 1, 6), "05 Ma");
  // No date: a month outside 1-12 shows as item 0 of the name lists.
  EXPECT_EQ(TextOf(TKVDate(), 1), "00 #err# 1980");
  EXPECT_EQ(TextOf(TKVDate(), 2), "00-###-1980");
}

struct ParseCase {
  const char* text;
  int form;
  bool ok;
  int year = 0, month = 0, day = 0;
};

TEST(DateTest, Parse) {
  const std::string longest = "1/2/" + std::string(32, '0') + "2009";  // 40 bytes
  const std::string tooLong = "1/2/" + std::string(33, '0') + "2009";  // 41 bytes
  const ParseCase cases[] = {
      {"2/30/2009", 0, true, 2009, 2, 30},  // the length of the month plays no part
      {"13/01/2009", 0, false},
      {"1/2/79", 0, true, 2079, 1, 2},
      {"1/2/80", 0, true, 1980, 1, 2},
      {"12/31/99", 0, true, 1999, 12, 31},
      {" 1/ 2/2009 ", 0, true, 2009, 1, 2},
      {longest.c_str(), 0, true, 2009, 1, 2},
      {tooLong.c_str(), 0, false},
      {"1/2/2108", 0, false},  // beyond the packed range: refused, not wrapped
      {"1/2/1979", 0, false},
      {"1/2/100", 0, false},
      {"1/2/0", 0, false},
      {"1/2/-5", 0, false},
      {"0/5/2009", 0, false},
      {"1/0/2009", 0, false},
      {"1/32/2009", 0, false},
      {"1//2009", 0, false},
      {"1/2", 0, false},
      {"1/2/3/4", 0, false},
      {"1.5/2/2009", 0, false},
      {"1/2/99999999999", 0, false},
      {"05 March 2009", 1, true, 2009, 3, 5},
      {"05 mARCH 2009", 1, true, 2009, 3, 5},
      {"05 Mar 2009", 1, false},
      {"05 #err# 2009", 1, false},
      {"05-Mar-2009", 2, true, 2009, 3, 5},
      {"05-###-2009", 2, false},
      {"5-dec-99", 4, true, 1999, 12, 5},
      {"05/Mar/09", 3, true, 2009, 3, 5},
      {"03/05/09", 3, false},  // form 3 reads a month name
      {"1/2/2009", 5, false},
      {nullptr, 0, false},
  };
  for (const ParseCase& c : cases) {
    TKVDate date = DateOf(2000, 6, 15);
    const TKVDate before = date;
    EXPECT_EQ(date.Parse(c.text, c.form), c.ok) << (c.text ? c.text : "(null)") << " form " << c.form;
    if (c.ok) {
      EXPECT_EQ(date.GetYear(), c.year) << c.text;
      EXPECT_EQ(date.GetMonth(), c.month) << c.text;
      EXPECT_EQ(date.GetDay(), c.day) << c.text;
    } else {
      EXPECT_EQ(date, before) << (c.text ? c.text : "(null)");
    }
  }
}

TEST(DateTest, SettersRefuseValuesOutsideTheLayout) {
  TKVDate date = DateOf(2107, 12, 31);
  const struct {
    int year, month, day;
  } refused[] = {{2108, 1, 1}, {1979, 12, 31}, {2000, 13, 1}, {2000, 0, 1}, {2000, 1, 0}, {2000, 1, 32}};
  for (const auto& r : refused) {
    EXPECT_FALSE(date.Set(r.year, r.month, r.day)) << r.year << "-" << r.month << "-" << r.day;
    EXPECT_EQ(date, DateOf(2107, 12, 31));
  }
  EXPECT_FALSE(date.SetYear(2108));
  EXPECT_FALSE(date.SetYear(1979));
  EXPECT_FALSE(date.SetMonth(16));
  EXPECT_FALSE(date.SetDay(0));
  EXPECT_EQ(date, DateOf(2107, 12, 31));
  EXPECT_TRUE(date.SetYear(1980));
  EXPECT_TRUE(date.SetMonth(2));
  EXPECT_TRUE(date.SetDay(9));
  EXPECT_EQ(date, DateOf(1980, 2, 9));
}

TEST(DateTest, LeapYearsAndMonthLengths) {
  EXPECT_TRUE(TKVDate::IsLeapYear(2000));
  EXPECT_TRUE(TKVDate::IsLeapYear(2004));
  EXPECT_FALSE(TKVDate::IsLeapYear(1900));
  EXPECT_FALSE(TKVDate::IsLeapYear(2100));
  EXPECT_FALSE(TKVDate::IsLeapYear(2001));
  const int days2001[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  for (int month = 1; month <= 12; ++month) EXPECT_EQ(TKVDate::DaysInMonth(month, 2001), days2001[month - 1]);
  EXPECT_EQ(TKVDate::DaysInMonth(2, 2000), 29);
}

TEST(DateTest, NextAndPreviousDay) {
  const struct {
    int y, m, d;
    bool next;
    int ry, rm, rd;
  } cases[] = {
      {1999, 12, 31, true, 2000, 1, 1},  {2000, 3, 1, false, 2000, 2, 29},
      {2100, 2, 28, true, 2100, 3, 1},   {2001, 3, 1, false, 2001, 2, 28},
      {2009, 4, 30, true, 2009, 5, 1},   {2009, 5, 1, false, 2009, 4, 30},
      {2009, 2, 30, true, 2009, 3, 1},   {2010, 1, 1, false, 2009, 12, 31},
  };
  for (const auto& c : cases) {
    TKVDate date = DateOf(c.y, c.m, c.d);
    EXPECT_TRUE(c.next ? date.NextDay() : date.PrevDay());
    EXPECT_EQ(date, DateOf(c.ry, c.rm, c.rd)) << c.y << "-" << c.m << "-" << c.d;
  }
}

TEST(DateTest, DayStepsStopAtTheEndsOfTheRange) {
  TKVDate last = DateOf(2107, 12, 31);
  EXPECT_FALSE(last.NextDay());
  EXPECT_EQ(last, DateOf(2107, 12, 31));
  TKVDate first = DateOf(1980, 1, 1);
  EXPECT_FALSE(first.PrevDay());
  EXPECT_EQ(first, DateOf(1980, 1, 1));
  TKVDate none;
  EXPECT_FALSE(none.NextDay());
  EXPECT_FALSE(none.PrevDay());
  EXPECT_EQ(none.GetPacked(), 0);
}

TEST(DateTest, TodayMatchesTheClock) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  std::tm utc{};
  localtime_r(&now, &local);
  gmtime_r(&now, &utc);
  TKVDate today;
  ASSERT_TRUE(today.SetToday());
  TKVDate todayUtc;
  ASSERT_TRUE(todayUtc.SetTodayUtc());
  // A midnight between the two clock readings would move the date by one day at most.
  EXPECT_EQ(today.GetYear() * 10000 + today.GetMonth() * 100 + today.GetDay(),
            (local.tm_year + 1900) * 10000 + (local.tm_mon + 1) * 100 + local.tm_mday);
  EXPECT_EQ(todayUtc.GetYear() * 10000 + todayUtc.GetMonth() * 100 + todayUtc.GetDay(),
            (utc.tm_year + 1900) * 10000 + (utc.tm_mon + 1) * 100 + utc.tm_mday);
}

}  // namespace
}  // namespace kvt
