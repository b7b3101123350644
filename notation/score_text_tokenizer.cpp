#include "notation/score_text_tokenizer.h"

#include <cstring>

#include "notation/name_lists.h"
#include "notation/score_text_format.h"
#include "notation/score_text_numbers.h"
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
    if (text[i] == 0 || LowerAscii(text[i]) != LowerAscii(name[i])) return false;
  }
  return true;
}

bool HasHighBytes(std::string_view text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return true;
  return false;
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
  fieldCount = 0;
  valueCount = 0;
  if (!line || line[0] != '|') return 0;
  fields[fieldCount++] = line + 1;
  for (char* p = line + 1; *p; ++p) {
    if (*p == '\\') {
      if (p[1] == 0) break;
      ++p;
      continue;
    }
    if (*p != '|' || p[1] == 0 || fieldCount >= kMaxFields) continue;
    *p = 0;
    fields[fieldCount++] = p + 1;
  }
  for (int i = 0; i < fieldCount; ++i) fields[i] = Trim(fields[i]);
  return fieldCount;
}

char* TKVTTextImportTokenizer::GetField(int i) const {
  return (i >= 0 && i < fieldCount) ? fields[i] : EmptyText();
}

char* TKVTTextImportTokenizer::FindField(std::string_view name) const {
  for (int i = 1; i < fieldCount; ++i) {
    if (!StartsWithName(fields[i], name)) continue;
    char* value = fields[i] + name.size();
    while (*value == ' ' || *value == '\t') ++value;
    return value;
  }
  return nullptr;
}

bool TKVTTextImportTokenizer::IsRecord(std::string_view name) const {
  if (fieldCount == 0) return false;
  return StartsWithName(fields[0], name) && fields[0][name.size()] == 0;
}

int TKVTTextImportTokenizer::SplitValues(char* text) {
  valueCount = 0;
  if (!text) return 0;
  values[valueCount++] = text;
  for (char* p = text; *p; ++p) {
    if (*p == '\\') {
      if (p[1] == 0) break;
      ++p;
      continue;
    }
    if (*p != ',') continue;
    if (valueCount >= kMaxValues) {
      // The rest is dropped: no writer puts this many values into one field.
      *p = 0;
      MarkCorrupt();
      break;
    }
    *p = 0;
    values[valueCount++] = p + 1;
  }
  for (int i = 0; i < valueCount; ++i) values[i] = Trim(values[i]);
  return valueCount;
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
    MarkCorrupt();
    return false;
  }
  if (overflow) MarkCorrupt();
  return true;
}

int TKVTTextImportTokenizer::Clamp(int value, int lo, int hi) {
  if (value < lo) {
    MarkCorrupt();
    return lo;
  }
  if (value > hi) {
    MarkCorrupt();
    return hi;
  }
  return value;
}

int TKVTTextImportTokenizer::ReadIntClamped(const char* value, int lo, int hi, int fallback) {
  int32_t n = 0;
  if (!ReadInt(value, n)) return fallback;
  return Clamp(n, lo, hi);
}

int TKVTTextImportTokenizer::FindName(std::string_view value, int list) {
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
  MarkCorrupt();
  return fallback;
}

bool TKVTTextImportTokenizer::ReadReal(const char* value, double& out) {
  if (value && ParseRealValue(value, out)) return true;
  MarkCorrupt();
  return false;
}

int TKVTTextImportTokenizer::CodePageOfCharSet(int charSet, int fallback) {
  switch (charSet) {
    case 2: return 1252;
    case 128: return 932;
    case 129: return 949;
    case 134: return 936;
    case 136: return 950;
    case 161: return 1253;
    case 162: return 1254;
    case 163: return 1258;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    default: return fallback;
  }
}

}  // namespace kvt
