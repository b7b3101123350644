#include "utils/string_list.h"

#include <algorithm>
#include <cstring>

#include "utils/text_case.h"

namespace kvt {

TKVStringList::TKVStringList(int n, bool ignoreCase, int averageLength, int bufferSize)
    : TKVMultiField(n), ignoreCase(ignoreCase) {}

TKVStringList::TKVStringList(const char* text, char separator, int n)
    : TKVMultiField(text, separator, n) {
  // An empty text has no fields: the list stays empty rather than holding one empty text.
  count = (text && *text) ? std::min(CountFieldsOf(text, separator), GetFieldCount()) : 0;
}

int TKVStringList::Compare(const char* a, const char* b) const {
  if (ignoreCase) return CompareTextIgnoreCase(a, b);
  return std::strcmp(a ? a : "", b ? b : "");
}

int TKVStringList::IndexOf(const char* text) const {
  for (int i = 0; i < count; ++i) {
    if (Compare(GetItem(i), text) == 0) return i;
  }
  return -1;
}

int TKVStringList::FindPrefix(const char* text, int start) const {
  const char* prefix = text ? text : "";
  const size_t length = std::strlen(prefix);
  for (int i = std::max(start, 0); i < count; ++i) {
    const char* item = GetItem(i);
    const bool match =
        ignoreCase ? StartsWithIgnoreCase(item, prefix) : std::strncmp(item, prefix, length) == 0;
    if (match) return i;
  }
  return -1;
}

int TKVStringList::InsertSorted(const char* text, bool unique) {
  int i = 0;
  while (i < count) {
    const int order = Compare(GetItem(i), text);
    if (order == 0 && unique) return 0;
    if (order >= 0) break;
    ++i;
  }
  if (i >= GetFieldCount()) return 0;
  Insert(i, text);
  return 1;
}

int TKVStringList::AddUnique(const char* text) {
  if (IndexOf(text) != -1 || IsFull()) return 0;
  Insert(count, text);
  return 1;
}

void TKVStringList::Insert(int i, const char* text) {
  i = std::clamp(i, 0, count);
  if (i >= GetFieldCount()) return;
  // The slot count stays N: the last slot's text drops off.
  fields.pop_back();
  fields.emplace(fields.begin() + i, text ? text : "");
  if (!IsFull()) ++count;
}

void TKVStringList::Remove(int i) {
  if (i < 0 || i >= count) return;
  RemoveItem(i);
  --count;
}

int TKVStringList::RemoveText(const char* text) {
  const int i = IndexOf(text);
  if (i == -1) return 0;
  Remove(i);
  return 1;
}

void TKVStringList::Clear() {
  ClearAll();
  count = 0;
}

std::string TKVStringList::Join(char separator) const {
  std::string joined;
  for (int i = 0; i < GetFieldCount(); ++i) {
    const char* item = GetItem(i);
    if (!*item) break;
    if (i > 0) joined.push_back(separator);
    joined.append(item);
  }
  return joined;
}

}  // namespace kvt
