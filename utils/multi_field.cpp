#include "utils/multi_field.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "utils/stream.h"
#include "utils/text_case.h"

namespace kvt {

namespace {

constexpr int kMaxShort = 0xFFFF;

std::string_view ViewOf(const char* text) { return std::string_view(text ? text : ""); }

}  // namespace

int CountFieldsOf(const char* text, char separator) {
  if (!text) return 0;
  const std::string_view view(text);
  return static_cast<int>(std::count(view.begin(), view.end(), separator)) + 1;
}

TKVMultiField::TKVMultiField(int n, int bufferSize) : fields(static_cast<size_t>(std::max(n, 0))) {}

TKVMultiField::TKVMultiField(const char* text, char separator, int n)
    : TKVMultiField(n < 0 ? CountFieldsOf(text, separator) : n) {
  Split(text, separator);
}

TKVMultiField::TKVMultiField(std::initializer_list<const char*> texts) {
  fields.reserve(texts.size());
  for (const char* text : texts) fields.emplace_back(ViewOf(text));
}

TKVMultiField::TKVMultiField(TKRVStream& stream) {
  const int n = stream.ReadShort();
  const int sizeField = stream.ReadShort();
  growth = stream.ReadShort();
  if (stream.IsError()) return;
  const int used = sizeField - 2;
  // Every field takes at least its zero byte.
  if (used < n) {
    stream.SetFailed();
    return;
  }
  fields.resize(static_cast<size_t>(n));
  int budget = used;
  for (std::string& field : fields) {
    for (;;) {
      if (budget == 0) {
        stream.SetFailed();
        return;
      }
      const int byte = stream.GetByte();
      --budget;
      if (stream.IsError()) return;
      if (byte == 0) break;
      field.push_back(static_cast<char>(byte));
    }
  }
  if (budget != 0) stream.SetFailed();
}

int TKVMultiField::GetUsedBytes() const {
  size_t used = 0;
  for (const std::string& field : fields) used += field.size() + 1;
  return static_cast<int>(std::min<size_t>(used, 0x7FFFFFFF));
}

void TKVMultiField::WriteTo(TKRVStream& stream) const {
  const int used = GetUsedBytes();
  if (GetFieldCount() > kMaxShort || used > kMaxShort - 2) {
    stream.SetFailed();
    return;
  }
  stream.WriteShort(GetFieldCount());
  stream.WriteShort(used + 2);
  stream.WriteShort(growth & kMaxShort);
  for (const std::string& field : fields) stream.WriteString(field.c_str());
}

const char* TKVMultiField::GetItem(int i) const {
  if (i < 0 || i >= GetFieldCount()) return "";
  return fields[static_cast<size_t>(i)].c_str();
}

void TKVMultiField::SetItem(int i, const char* text) {
  if (i < 0 || i >= GetFieldCount()) return;
  fields[static_cast<size_t>(i)].assign(ViewOf(text));
}

void TKVMultiField::InsertItem(int i, const char* text) {
  if (i < 0 || i > GetFieldCount()) i = GetFieldCount();
  fields.emplace(fields.begin() + i, ViewOf(text));
}

void TKVMultiField::RemoveItem(int i) {
  if (i < 0 || i >= GetFieldCount()) return;
  fields.erase(fields.begin() + i);
  fields.emplace_back();
}

void TKVMultiField::ClearAll() {
  for (std::string& field : fields) field.clear();
}

void TKVMultiField::Split(const char* text, char separator) {
  ClearAll();
  std::string_view rest = ViewOf(text);
  if (rest.empty()) return;
  for (std::string& field : fields) {
    const size_t cut = rest.find(separator);
    field.assign(rest.substr(0, cut));
    if (cut == std::string_view::npos) return;
    rest.remove_prefix(cut + 1);
  }
}

int TKVMultiField::Find(const char* text, bool ignoreCase, int notFound) const {
  for (int i = 0; i < GetFieldCount(); ++i) {
    const std::string& field = fields[static_cast<size_t>(i)];
    if (field.empty()) break;
    if (TextEquals(field.c_str(), text, ignoreCase)) return i;
  }
  return notFound;
}

}  // namespace kvt
