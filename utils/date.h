#pragma once
// TKVDate: a date packed in 16 bits in the DOS date layout: bits 0-4 day (1-31), bits 5-8
// month (1-12), bits 9-15 year minus 1980; 0 means no date. Packed values compare as the
// dates do.
//
// Only the years 1980 to 2107 fit: setters and Parse refuse anything else (and months outside
// 1-12, days outside 1-31), returning false and keeping the old value, so a date never wraps.
//
// Text forms (ToText; Parse takes the separator and field order shown):
//   0 "%02d/%02d/%04d"  month, day, year            Parse "/": month, day, year
//   1 "%02d %s %04d"    day, full month name, year  Parse " ": day, full name, year
//   2 "%02d-%s-%04d"    day, short month name, year Parse "-": day, short name, year
//   3 "%02d/%02d/%02d"  month, day, two-digit year  Parse "/": day, short name, year
//   4 (ToText as form 0)                            Parse "-": as form 2
// Month names are matched ignoring case. A two-digit year of form 3 is the year minus 1900
// below 2000, else minus 2000.

#include <compare>
#include <cstdint>

namespace kvt {

class TKVDate {
public:
  static constexpr int kFirstYear = 1980;
  static constexpr int kLastYear = 2107;
  // Texts of this many bytes or more are never dates.
  static constexpr int kMaxParseLength = 41;

  TKVDate() = default;
  explicit TKVDate(uint16_t packed) : value(packed) {}

  uint16_t GetPacked() const { return value; }

  bool Set(int year, int month, int day);
  bool SetYear(int year);
  bool SetMonth(int month);
  bool SetDay(int day);
  int GetYear() const { return kFirstYear + (value >> 9); }
  int GetMonth() const { return (value >> 5) & 0x0F; }
  int GetDay() const { return value & 0x1F; }

  // Divisible by 4 and not by 100 unless by 400.
  static bool IsLeapYear(int year);
  // 29 or 28 for February, 30 for April, June, September and November, else 31.
  static int DaysInMonth(int month, int year);

  // The next or previous day, across months and years. False, with the date unchanged, for a
  // date without a valid month and day, and at the ends of the range.
  bool NextDay();
  bool PrevDay();

  // Today in local time or in UTC; false (date unchanged) outside the range.
  bool SetToday();
  bool SetTodayUtc();

  // The text form (outside 0-3: form 0) into buffer, cut to size-1 bytes; returns buffer. A
  // month outside 1-12 shows as "#err#" (form 1) or "###" (form 2).
  char* ToText(char* buffer, int size, int form) const;
  // Reads a date in the given form (see above). The fields must be non-empty, numbers must
  // pass IsNumberText without a decimal point, the month must be 1-12 and the day 1-31 (the
  // length of the month plays no part), the year above 0; years below 100 are two-digit years:
  // 80-99 mean 1980-1999, 0-79 mean 2000-2079. Texts of 41 bytes or more, texts without
  // exactly two separators and dates outside the range fail. True when the date was stored.
  bool Parse(const char* text, int form);

  friend auto operator<=>(const TKVDate&, const TKVDate&) = default;

private:
  bool Store(int year, int month, int day);

  uint16_t value = 0;
};

}  // namespace kvt
