#include "utils/variant.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string_view>

#include "utils/memory_block.h"
#include "utils/multi_string.h"
#include "utils/number_text.h"
#include "utils/text_case.h"
#include "utils/text_copy.h"
#include "utils/text_encoding.h"

namespace kvt {

namespace {

// The word pairs of yes/no values, as two packed lists indexed by the format; an index beyond
// the lists gives their first word.
constexpr char kYesWords[] = "1\0Y\0Yes\0True\0On\0";
constexpr char kNoWords[] = "0\0N\0No\0False\0Off\0";
constexpr int kBoolWordPairs = 5;

constexpr int kCompareWideUnits = 128;

size_t WideLength(const char16_t* text) {
  return text ? std::char_traits<char16_t>::length(text) : 0;
}

std::string Printed(const char* format, int32_t value) {
  char buffer[24];
  std::snprintf(buffer, sizeof buffer, format, value);
  return buffer;
}

std::string IntegerText(int32_t value, int format) {
  switch (format) {
    case 1:
      return Printed("%x", value);
    case 2:
      return Printed(value > 0 ? "+%d" : "%d", value);
    case 3:
      return value == 0 ? std::string() : Printed("%d", value);
    case 4:
      return Printed("%08x", value);
    case 5:
      return FormatFixed(value / 192.0, 2, 8);
    case 6:
      return FormatFixed(value / 768.0, 3, 7);
    default:
      return Printed("%d", value);
  }
}

std::string RealText(float value, int format) {
  switch (format) {
    case 1:
      return "$" + FormatFixed(value, 2);
    case 2:
      return FormatFixed(value, 2);
    default:
      return FormatGeneral(value);
  }
}

int Ordered(int order) { return (order > 0) - (order < 0); }

template <typename T>
int CompareValues(T a, T b) {
  return a < b ? -1 : (b < a ? 1 : 0);
}

// Every NaN equals every other NaN and sorts after every number.
int CompareReals(float a, float b) {
  const bool aNan = std::isnan(a);
  const bool bNan = std::isnan(b);
  if (aNan || bNan) return static_cast<int>(aNan) - static_cast<int>(bNan);
  return CompareValues(a, b);
}

}  // namespace

TKVVariant::TKVVariant(const TKVVariant& other) { CopyFrom(other); }

TKVVariant& TKVVariant::operator=(const TKVVariant& other) {
  if (this != &other) CopyFrom(other);
  return *this;
}

TKVVariant::TKVVariant(TKVVariant&& other) noexcept { MoveFrom(other); }

TKVVariant& TKVVariant::operator=(TKVVariant&& other) noexcept {
  if (this != &other) MoveFrom(other);
  return *this;
}

void TKVVariant::CopyFrom(const TKVVariant& other) {
  if (other.type == kString) {
    SetString(other.payload.text);
  } else if (other.type == kWideString) {
    SetWideString(other.payload.wideText);
  } else {
    Clear();
    type = other.type;
    payload = other.payload;
  }
  format = other.format;
}

void TKVVariant::MoveFrom(TKVVariant& other) noexcept {
  type = other.type;
  format = other.format;
  payload = other.payload;
  // The owned storage moves with its pointer, so the payload stays valid.
  ownedText = std::move(other.ownedText);
  ownedWideText = std::move(other.ownedWideText);
  other.type = kEmpty;
  other.format = 0;
  other.payload.integer = 0;
}

void TKVVariant::Clear() {
  type = kEmpty;
  format = 0;
  payload.integer = 0;
  ownedText.reset();
  ownedWideText.reset();
}

void TKVVariant::SetInt(int32_t value, int newFormat) {
  Clear();
  type = kInt;
  format = static_cast<uint8_t>(newFormat);
  payload.integer = value;
}

void TKVVariant::SetBool(int32_t value, int newFormat) {
  Clear();
  type = kBool;
  format = static_cast<uint8_t>(newFormat);
  payload.integer = value;
}

void TKVVariant::SetBoolFromText(const char* text) {
  const int yes = FindMultiStringItem(kYesWords, text, true, -1);
  if (yes >= 0) {
    SetBool(1, yes);
  } else {
    SetBool(0, FindMultiStringItem(kNoWords, text, true, 0));
  }
}

void TKVVariant::SetReal(float value, int newFormat) {
  Clear();
  type = kReal;
  format = static_cast<uint8_t>(newFormat);
  payload.real = value;
}

void TKVVariant::SetRealFromText(const char* text) {
  const bool dollar = text && text[0] == '$';
  float value = 0;
  ParseRealPrefix(dollar ? text + 1 : text, value);
  SetReal(value, dollar ? 1 : 0);
}

void TKVVariant::SetString(const char* text) {
  // Copy before clearing: the text may be this variant's own.
  const size_t length = text ? std::strlen(text) : 0;
  std::unique_ptr<char[]> copy;
  if (length > 0) {
    copy = std::make_unique<char[]>(length + 1);
    std::memcpy(copy.get(), text, length + 1);
  }
  Clear();
  if (!copy) return;
  ownedText = std::move(copy);
  type = kString;
  payload.text = ownedText.get();
}

void TKVVariant::SetWideString(const char16_t* text) {
  const size_t length = WideLength(text);
  std::unique_ptr<char16_t[]> copy;
  if (length > 0) {
    copy = std::make_unique<char16_t[]>(length + 1);
    std::copy_n(text, length + 1, copy.get());
  }
  Clear();
  if (!copy) return;
  ownedWideText = std::move(copy);
  type = kWideString;
  payload.wideText = ownedWideText.get();
}

void TKVVariant::SetStringRef(const char* text) {
  Clear();
  type = kStringRef;
  payload.text = text;
}

void TKVVariant::SetWideStringRef(const char16_t* text) {
  Clear();
  type = kWideStringRef;
  payload.wideText = text;
}

void TKVVariant::SetDate(TKVDate date, int newFormat) {
  Clear();
  type = kDate;
  format = static_cast<uint8_t>(newFormat);
  payload.date = date.GetPacked();
}

bool TKVVariant::SetDateFromText(const char* text) {
  Clear();
  for (int form = 0; form <= 4; ++form) {
    TKVDate date;
    if (date.Parse(text, form)) {
      SetDate(date, 0);
      return true;
    }
  }
  return false;
}

std::string TKVVariant::DisplayText() const {
  switch (type) {
    case kStringRef:
    case kString:
      return payload.text ? payload.text : "";
    case kInt:
      return IntegerText(payload.integer, format);
    case kBool: {
      int pair = format & 0x7F;
      if (pair >= kBoolWordPairs) pair = 0;
      if (payload.integer != 0) return GetMultiStringItem(kYesWords, pair);
      return (format & 0x80) ? std::string() : GetMultiStringItem(kNoWords, pair);
    }
    case kReal:
      return RealText(payload.real, format);
    case kDate: {
      char buffer[32];
      return TKVDate(payload.date).ToText(buffer, sizeof buffer, format);
    }
    case kWideStringRef:
    case kWideString:
      return Utf16ToMultiByte(kCodePageAnsi, payload.wideText ? payload.wideText : u"");
    default:
      return std::string();
  }
}

const char* TKVVariant::GetText(char* buffer, int size) const {
  if (!buffer || size <= 0) return buffer;
  // Windows-1252 has one byte per character, so any byte cut is a character boundary.
  const std::string text = DisplayText();
  const size_t n = std::min(text.size(), static_cast<size_t>(size) - 1);
  std::memcpy(buffer, text.data(), n);
  buffer[n] = 0;
  return buffer;
}

const char16_t* TKVVariant::GetWideText(char16_t* buffer, int size) const {
  if (!buffer || size <= 0) return buffer;
  if (type == kWideStringRef || type == kWideString) {
    return CopyWideStringMax(buffer, payload.wideText, size);
  }
  const int codePage = (type == kStringRef || type == kString) ? kCodePageAnsi : kCodePage1252;
  const std::u16string wide = MultiByteToUtf16(codePage, DisplayText());
  return CopyWideStringMax(buffer, wide.c_str(), size);
}

int TKVVariant::TextWidth() const {
  switch (type) {
    case kStringRef:
    case kString:
      return payload.text ? static_cast<int>(std::strlen(payload.text)) : 0;
    case kWideStringRef:
    case kWideString:
      return static_cast<int>(WideLength(payload.wideText));
    case kInt:
      return 17;
    case kBool:
      return 5;
    case kDate:
      return format == 0 ? 10 : (format == 2 ? 11 : 20);
    case kReal:
      return 32;
    default:
      return 3;
  }
}

double TKVVariant::GetReal() const {
  switch (type) {
    case kInt:
    case kBool:
      return payload.integer;
    case kReal:
      return payload.real;
    default:
      return 0;
  }
}

int32_t TKVVariant::GetIntValue() const {
  switch (type) {
    case kInt:
    case kBool:
      return payload.integer;
    case kReal: {
      const float value = payload.real;
      if (std::isnan(value)) return 0;
      // Clamp before converting: a float outside the 32-bit range has no integer value.
      if (value >= 2147483648.0f) return std::numeric_limits<int32_t>::max();
      if (value <= -2147483648.0f) return std::numeric_limits<int32_t>::min();
      return static_cast<int32_t>(value);
    }
    default:
      return 0;
  }
}

int32_t TKVVariant::GetInt() const {
  switch (type) {
    case kInt:
    case kBool:
    case kReal:
      return GetIntValue();
    default:
      return IsTrue() ? 1 : 0;
  }
}

const char* TKVVariant::GetString() const {
  return (type == kStringRef || type == kString) ? payload.text : nullptr;
}

const char16_t* TKVVariant::GetWideString() const {
  return (type == kWideStringRef || type == kWideString) ? payload.wideText : nullptr;
}

bool TKVVariant::IsTrue() const {
  switch (type) {
    case kStringRef:
    case kString:
      return payload.text && payload.text[0] != 0;
    case kWideStringRef:
    case kWideString:
      return payload.wideText && payload.wideText[0] != 0;
    case kInt:
    case kBool:
      return payload.integer != 0;
    case kReal:
      return payload.real != 0.0f;
    case kDate:
      return payload.date != 0;
    default:
      return false;
  }
}

std::u16string TKVVariant::WideTextForCompare() const {
  if (type == kWideStringRef || type == kWideString) {
    return payload.wideText ? payload.wideText : u"";
  }
  char16_t buffer[kCompareWideUnits];
  return GetWideText(buffer, kCompareWideUnits);
}

int TKVVariant::Compare(const TKVVariant& other) const {
  if (type != other.type) {
    return Ordered(CompareWideIgnoreCase(WideTextForCompare().c_str(),
                                         other.WideTextForCompare().c_str()));
  }
  switch (type) {
    case kStringRef:
    case kString: {
      const std::u16string a = MultiByteToUtf16(kCodePageAnsi, payload.text ? payload.text : "");
      const std::u16string b =
          MultiByteToUtf16(kCodePageAnsi, other.payload.text ? other.payload.text : "");
      return Ordered(CompareWideIgnoreCase(a.c_str(), b.c_str()));
    }
    case kWideStringRef:
    case kWideString:
      return Ordered(CompareWideIgnoreCase(payload.wideText, other.payload.wideText));
    case kInt:
    case kBool:
      return CompareValues(payload.integer, other.payload.integer);
    case kReal:
      return CompareReals(payload.real, other.payload.real);
    case kDate:
      return CompareValues(payload.date, other.payload.date);
    default:
      return 0;
  }
}

}  // namespace kvt
