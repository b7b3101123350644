#include "utils/resource_table.h"

#include <algorithm>
#include <string>
#include <vector>

#include "utils/precondition.h"
#include "utils/thread_annotations.h"

namespace kvt {
namespace {

struct TResourceEntry {
  std::string name;
  std::string type;
  std::span<const uint8_t> bytes;
};

struct TResourceTable {
  TMutex mutex;
  std::vector<TResourceEntry> entries GUARDED_BY(mutex);
};

// Built on first use, so resources may register from static initialisers of any unit.
TResourceTable& Table() {
  static TResourceTable table;
  return table;
}

bool SameIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return lower(x) == lower(y);
  });
}

TResourceEntry* FindEntry(std::vector<TResourceEntry>& entries, std::string_view name,
                          std::string_view type) {
  for (TResourceEntry& entry : entries) {
    if (SameIgnoringAsciiCase(entry.name, name) && SameIgnoringAsciiCase(entry.type, type))
      return &entry;
  }
  return nullptr;
}

}  // namespace

void RegisterResource(std::string_view name, std::string_view type, const void* data,
                      size_t size) {
  KVT_PRECONDITION(data != nullptr || size == 0);
  std::span<const uint8_t> bytes(static_cast<const uint8_t*>(data), size);
  TResourceTable& table = Table();
  TMutexLock lock(table.mutex);
  if (TResourceEntry* entry = FindEntry(table.entries, name, type)) {
    entry->bytes = bytes;
    return;
  }
  table.entries.push_back({std::string(name), std::string(type), bytes});
}

std::span<const uint8_t> FindResourceData(std::string_view name, std::string_view type) {
  TResourceTable& table = Table();
  TMutexLock lock(table.mutex);
  if (TResourceEntry* entry = FindEntry(table.entries, name, type)) return entry->bytes;
  return {};
}

}  // namespace kvt
