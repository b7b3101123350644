#include "utils/date.h"

#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

#include "utils/multi_field.h"
#include "utils/multi_string.h"
#include "utils/number_text.h"

namespace kvt {

namespace {

// Packed lists indexed by month; item 0 stands for a month outside 1-12.
constexpr char kFullMonths[] =
    "#err#\0January\0February\0March\0April\0May\0June\0July\0August\0September\0October\0"
    "November\0December\0";
constexpr char kShortMonths[] =
    "###\0Jan\0Feb\0Mar\0Apr\0May\0Jun\0Jul\0Aug\0Sep\0Oct\0Nov\0Dec\0";

bool IsValid(int year, int month, int day) {
  return year >= TKVDate::kFirstYear && year <= TKVDate::kLastYear && month >= 1 && month <= 12 &&
         day >= 1 && day <= 31;
}

char SeparatorOf(int form) {
  switch (form) {
    case 0:
    case 3:
      return '/';
    case 1:
      return ' ';
    case 2:
    case 4:
      return '-';
    default:
      return 0;
  }
}

}  // namespace

bool TKVDate::Store(int year, int month, int day) {
  if (!IsValid(year, month, day)) return false;
  value = static_cast<uint16_t>(((year - kFirstYear) << 9) | (month << 5) | day);
  return true;
}

bool TKVDate::Set(int year, int month, int day) { return Store(year, month, day); }

bool TKVDate::SetYear(int year) {
  if (year < kFirstYear || year > kLastYear) return false;
  value = static_cast<uint16_t>((value & 0x01FF) | ((year - kFirstYear) << 9));
  return true;
}

bool TKVDate::SetMonth(int month) {
  if (month < 1 || month > 12) return false;
  value = static_cast<uint16_t>((value & ~0x01E0) | (month << 5));
  return true;
}

bool TKVDate::SetDay(int day) {
  if (day < 1 || day > 31) return false;
  value = static_cast<uint16_t>((value & ~0x001F) | day);
  return true;
}

bool TKVDate::IsLeapYear(int year) {
  return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int TKVDate::DaysInMonth(int month, int year) {
  switch (month) {
    case 2:
      return IsLeapYear(year) ? 29 : 28;
    case 4:
    case 6:
    case 9:
    case 11:
      return 30;
    default:
      return 31;
  }
}

bool TKVDate::NextDay() {
  int year = GetYear(), month = GetMonth(), day = GetDay();
  if (!IsValid(year, month, day)) return false;
  if (++day > DaysInMonth(month, year)) {
    day = 1;
    if (++month > 12) {
      month = 1;
      ++year;
    }
  }
  return Store(year, month, day);
}

bool TKVDate::PrevDay() {
  int year = GetYear(), month = GetMonth(), day = GetDay();
  if (!IsValid(year, month, day)) return false;
  if (--day < 1) {
    if (--month < 1) {
      month = 12;
      --year;
    }
    day = DaysInMonth(month, year);
  }
  return Store(year, month, day);
}

namespace {

bool TodayFrom(TKVDate& date, bool utc) {
  const std::time_t now = std::time(nullptr);
  std::tm parts{};
  const bool ok = utc ? gmtime_r(&now, &parts) != nullptr : localtime_r(&now, &parts) != nullptr;
  return ok && date.Set(parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday);
}

}  // namespace

bool TKVDate::SetToday() { return TodayFrom(*this, false); }
bool TKVDate::SetTodayUtc() { return TodayFrom(*this, true); }

char* TKVDate::ToText(char* buffer, int size, int form) const {
  if (!buffer || size <= 0) return buffer;
  const int year = GetYear(), month = GetMonth(), day = GetDay();
  const size_t room = static_cast<size_t>(size);
  switch (form) {
    case 1:
      std::snprintf(buffer, room, "%02d %s %04d", day, GetMultiStringItem(kFullMonths, month), year);
      break;
    case 2:
      std::snprintf(buffer, room, "%02d-%s-%04d", day, GetMultiStringItem(kShortMonths, month), year);
      break;
    case 3:
      std::snprintf(buffer, room, "%02d/%02d/%02d", month, day, year < 2000 ? year - 1900 : year - 2000);
      break;
    default:
      std::snprintf(buffer, room, "%02d/%02d/%04d", month, day, year);
      break;
  }
  return buffer;
}

bool TKVDate::Parse(const char* text, int form) {
  const char separator = SeparatorOf(form);
  if (!text || !separator || std::strlen(text) >= kMaxParseLength) return false;
  if (CountFields(text, separator) != 3) return false;
  const TKVMultiField fields(text, separator, 3);
  for (int i = 0; i < 3; ++i) {
    if (!*fields.GetItem(i)) return false;
  }
  int32_t day = 0, month = 0, year = 0;
  if (form == 0) {
    if (!ParseIntText(fields.GetItem(0), month) || !ParseIntText(fields.GetItem(1), day)) return false;
  } else {
    if (!ParseIntText(fields.GetItem(0), day)) return false;
    const char* names = form == 1 ? kFullMonths : kShortMonths;
    month = FindMultiStringItem(names, fields.GetItem(1), true, 0);
  }
  if (!ParseIntText(fields.GetItem(2), year)) return false;
  if (month < 1 || month > 12 || day < 1 || day > 31 || year <= 0) return false;
  if (year < 100) year += year >= 80 ? 1900 : 2000;
  return Store(year, month, day);
}

}  // namespace kvt
