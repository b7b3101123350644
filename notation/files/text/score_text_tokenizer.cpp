#include "notation/files/text/score_text_tokenizer.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "notation/items/name_lists.h"
#include "notation/files/text/score_text_format.h"
#include "notation/files/text/score_text_numbers.h"
#include "utils/memory_block.h"
#include "utils/text_encoding.h"

namespace kvt {

namespace {

bool IsTrimmed(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

char* EmptyText() {
  static char empty[1] = {0};
  empty[0] = 0;
  return empty;
}

// ASCII letters compared without case; the names of the format are ASCII.
char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

bool StartsWithName(const char* text, std::string_view name) {
  for (size_t i = 0; i < name.size(); ++i) {
    const char a = text[i];
    const char b = name[i];
    if (a == b) continue;  // the usual case: written as listed
    if (a == 0 || LowerAscii(a) != LowerAscii(b)) return false;
  }
  return true;
}

// The same for a text known to be at least as long as the name (no terminator test).
bool EqualsName(const char* text, std::string_view name) {
  for (size_t i = 0; i < name.size(); ++i) {
    const char a = text[i];
    const char b = name[i];
    if (a != b && LowerAscii(a) != LowerAscii(b)) return false;
  }
  return true;
}

bool HasHighBytes(std::string_view text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return true;
  return false;
}

// The entries of a name list, split once and ordered by length: the names of length n are
// sorted[first[n]] .. sorted[first[n + 1] - 1].
struct TListNames {
  static constexpr size_t kLengths = 64;  // every name is shorter
  struct TEntry {
    const char* name;
    int index;
  };
  uint8_t first[kLengths + 1] = {};
  std::vector<TEntry> sorted;
};

const TListNames& ListNames(int list) {
  static const std::array<TListNames, kNameListCount> lists = [] {
    std::array<TListNames, kNameListCount> all;
    for (int l = 0; l < kNameListCount; ++l) {
      TListNames& entry = all[static_cast<size_t>(l)];
      std::vector<std::pair<size_t, TListNames::TEntry>> names;
      int index = 0;
      for (const char* p = GetNameList(l); *p; p += std::strlen(p) + 1, ++index) {
        const size_t length = std::strlen(p);
        if (length < TListNames::kLengths) names.push_back({length, {p, index}});
      }
      std::stable_sort(names.begin(), names.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
      size_t next = 0;
      for (size_t length = 0; length <= TListNames::kLengths; ++length) {
        entry.first[length] = static_cast<uint8_t>(next);
        while (next < names.size() && names[next].first == length) ++next;
      }
      for (const auto& name : names) entry.sorted.push_back(name.second);
    }
    return all;
  }();
  return lists[static_cast<size_t>(list)];
}

}  // namespace

TKVTTextImportTokenizer::TKVTTextImportTokenizer()
    : version(kScoreTextVersion), ansiCodePage(kCodePage1252) {}

char* TKVTTextImportTokenizer::Trim(char* text) {
  while (IsTrimmed(*text)) ++text;
  size_t n = std::strlen(text);
  while (n > 0 && IsTrimmed(text[n - 1])) text[--n] = 0;
  return text;
}

int TKVTTextImportTokenizer::SplitFields(char* line) {
  return SplitFields(line, line ? std::strlen(line) : 0);
}

int TKVTTextImportTokenizer::SplitFields(char* line, size_t length) {
  fieldCount = 0;
  valueCount = 0;
  recordNameLength = 0;
  if (!line || line[0] != '|') return 0;
  char* const lineEnd = line + length;
  char* fieldEnds[kMaxFields];
  fields[0] = line + 1;
  fieldCount = 1;
  if (!std::memchr(line, '\\', length)) {
    // No escapes (most lines): every bar but a last one ends a field.
    for (char* p = line + 1; p < lineEnd && fieldCount < kMaxFields;) {
      char* bar = static_cast<char*>(std::memchr(p, '|', static_cast<size_t>(lineEnd - p)));
      if (!bar || bar + 1 >= lineEnd) break;
      fieldEnds[fieldCount - 1] = bar;
      fields[fieldCount++] = bar + 1;
      p = bar + 1;
    }
  } else {
    for (char* p = line + 1; p < lineEnd; ++p) {
      const char c = *p;
      if (c == '\\') {
        // A backslash skips the character after it; one at the very end ends the scan.
        if (++p >= lineEnd) break;
        continue;
      }
      if (c != '|' || p + 1 >= lineEnd || fieldCount >= kMaxFields) continue;
      fieldEnds[fieldCount - 1] = p;
      fields[fieldCount++] = p + 1;
    }
  }
  fieldEnds[fieldCount - 1] = lineEnd;
  for (int i = 0; i < fieldCount; ++i) {
    char* first = fields[i];
    char* last = fieldEnds[i];
    while (first < last && IsTrimmed(*first)) ++first;
    while (last > first && IsTrimmed(last[-1])) --last;
    *last = 0;
    fields[i] = first;
    int32_t colon = -1;
    for (char* q = first; q < last; ++q) {
      if (*q == ':') {
        colon = static_cast<int32_t>(q - first);
        break;
      }
    }
    fieldColons[i] = colon;
    if (i == 0) recordNameLength = static_cast<size_t>(last - first);
  }
  return fieldCount;
}

char* TKVTTextImportTokenizer::GetField(int i) const {
  return (i >= 0 && i < fieldCount) ? fields[i] : EmptyText();
}

char* TKVTTextImportTokenizer::FindField(std::string_view name) const {
  // Every name of the format ends with its only colon; another name is matched letter by
  // letter.
  if (name.empty() || name.back() != ':') {
    for (int i = 1; i < fieldCount; ++i)
      if (StartsWithName(fields[i], name)) return fields[i] + name.size();
    return nullptr;
  }
  // name ends with its only colon: a field begins with it exactly when the field's first
  // colon stands where the name's does and the letters before match.
  const int32_t colon = static_cast<int32_t>(name.size()) - 1;
  for (int i = 1; i < fieldCount; ++i) {
    if (fieldColons[i] != colon || !EqualsName(fields[i], name.substr(0, name.size() - 1))) continue;
    char* value = fields[i] + name.size();
    while (*value == ' ' || *value == '\t') ++value;
    return value;
  }
  return nullptr;
}

bool TKVTTextImportTokenizer::IsRecord(std::string_view name) const {
  return fieldCount > 0 && recordNameLength == name.size() && EqualsName(fields[0], name);
}

int TKVTTextImportTokenizer::SplitValues(char* text) {
  valueCount = 0;
  if (!text) return 0;
  char* valueEnds[kMaxValues];
  values[valueCount++] = text;
  char* p = text;
  for (; *p; ++p) {
    if (*p == '\\') {
      if (p[1] == 0) {
        ++p;
        break;
      }
      ++p;
      continue;
    }
    if (*p != ',') continue;
    if (valueCount >= kMaxValues) {
      // The rest is dropped: no writer puts this many values into one field.
      MarkCorrupt();
      break;
    }
    valueEnds[valueCount - 1] = p;
    values[valueCount++] = p + 1;
  }
  valueEnds[valueCount - 1] = p;
  for (int i = 0; i < valueCount; ++i) {
    char* first = values[i];
    char* last = valueEnds[i];
    while (first < last && IsTrimmed(*first)) ++first;
    while (last > first && IsTrimmed(last[-1])) --last;
    *last = 0;
    values[i] = first;
    valueLengths[i] = static_cast<uint32_t>(last - first);
  }
  return valueCount;
}

std::string_view TKVTTextImportTokenizer::GetValueView(int i) const {
  return (i >= 0 && i < valueCount) ? std::string_view(values[i], valueLengths[i]) : std::string_view();
}

char* TKVTTextImportTokenizer::GetValue(int i) const {
  return (i >= 0 && i < valueCount) ? values[i] : EmptyText();
}

char* TKVTTextImportTokenizer::SplitOption(char*& text) {
  char* equals = std::strchr(text, '=');
  if (!equals) {
    text = Trim(text);
    return nullptr;
  }
  *equals = 0;
  text = Trim(text);
  return Trim(equals + 1);
}

char* TKVTTextImportTokenizer::Unquote(char* text) {
  size_t n = std::strlen(text);
  char* p = text;
  if (n >= 2 && text[0] == '"' && text[n - 1] == '"') {
    const bool escaped = text[n - 2] == '\\' && !(n >= 3 && text[n - 3] == '\\');
    if (!escaped) {
      text[n - 1] = 0;
      ++p;
    }
  }
  char* out = text;
  for (; *p; ++p) {
    if (*p != '\\') {
      *out++ = *p;
      continue;
    }
    ++p;
    if (*p == 0) break;  // a backslash at the very end ends the text
    switch (*p) {
      case ']': *out++ = '\\'; break;
      case '}': *out++ = '|'; break;
      case 'n': *out++ = '\n'; break;
      case 'r': *out++ = '\r'; break;
      case 't': *out++ = '\t'; break;
      default: *out++ = *p; break;
    }
  }
  *out = 0;
  return text;
}

bool TKVTTextImportTokenizer::ReadInt(const char* value, int32_t& out) {
  bool overflow = false;
  if (!value || !ParseIntValue(value, out, &overflow)) {
    MarkLenient();
    return false;
  }
  if (overflow) MarkLenient();
  return true;
}

int TKVTTextImportTokenizer::Clamp(int value, int lo, int hi) {
  if (value < lo) {
    MarkLenient();
    return lo;
  }
  if (value > hi) {
    MarkLenient();
    return hi;
  }
  return value;
}

int TKVTTextImportTokenizer::ReadIntClamped(const char* value, int lo, int hi, int fallback) {
  int32_t n = 0;
  if (!ReadInt(value, n)) return fallback;
  return Clamp(n, lo, hi);
}

bool TKVTTextImportTokenizer::SameWord(std::string_view a, std::string_view b) {
  return a.size() == b.size() && EqualsName(a.data(), b);
}

int TKVTTextImportTokenizer::FindName(std::string_view value, int list) {
  if (list < 0 || list >= kNameListCount) return -1;
  if (!HasHighBytes(value)) {
    // ASCII text: the names of the list by length first, then letters without case.
    if (value.size() >= TListNames::kLengths) return -1;
    const TListNames& names = ListNames(list);
    for (size_t k = names.first[value.size()]; k < names.first[value.size() + 1]; ++k)
      if (EqualsName(names.sorted[k].name, value)) return names.sorted[k].index;
    return -1;
  }
  int index = FindNameListEntry(list, value, true, -1);
  if (index < 0 && HasHighBytes(value)) {
    // The writer spells the Windows-1252 names in UTF-8 ("Più mosso"); older files hold the
    // Windows-1252 bytes themselves, which the first lookup took.
    const std::string ansi = Utf16ToMultiByte(kCodePage1252, Utf8ToUtf16(value));
    index = FindNameListEntry(list, ansi, true, -1);
  }
  return index;
}

int TKVTTextImportTokenizer::ReadName(const char* value, int list, int fallback) {
  const int index = value ? FindName(value, list) : -1;
  if (index >= 0) return index;
  MarkLenient();
  return fallback;
}

bool TKVTTextImportTokenizer::ReadReal(const char* value, double& out) {
  if (value && ParseRealValue(value, out)) return true;
  MarkLenient();
  return false;
}

}  // namespace kvt
