#include "notation/staff/staff_lyrics.h"

#include <algorithm>

#include "utils/precondition.h"

namespace kvt {

TStaffLyrics::TStaffLyrics() { lines.reserve(3); }

TStaffLyrics::~TStaffLyrics() = default;

TLyricText* TStaffLyrics::GetLine(int i) {
  if (i < 0 || i > GetLastIndex()) return nullptr;
  return lines[static_cast<size_t>(i)].get();
}

const TLyricText* TStaffLyrics::GetLine(int i) const {
  if (i < 0 || i > GetLastIndex()) return nullptr;
  return lines[static_cast<size_t>(i)].get();
}

void TStaffLyrics::Add(std::unique_ptr<TLyricText> line) { InsertAt(std::move(line), GetCount()); }

void TStaffLyrics::InsertAt(std::unique_ptr<TLyricText> line, int index) {
  KVT_PRECONDITION(GetLastIndex() < (MaxStaffLyrics-1));
  KVT_PRECONDITION(line != nullptr);
  const int at = std::clamp(index, 0, GetCount());
  lines.insert(lines.begin() + at, std::move(line));
}

std::unique_ptr<TLyricText> TStaffLyrics::RemoveAt(int atIndex) {
  KVT_PRECONDITION(atIndex >= 0);
  KVT_PRECONDITION(atIndex <= GetLastIndex());
  std::unique_ptr<TLyricText> line = std::move(lines[static_cast<size_t>(atIndex)]);
  lines.erase(lines.begin() + atIndex);
  return line;
}

}  // namespace kvt
