#include "utils/ini_profile.h"

namespace kvt {

TIniProfile::TIniProfile(std::string path, TIniFileIo& io, bool createFolder)
    : path(std::move(path)), io(io), createFolder(createFolder) {}

bool TIniProfile::Refresh() {
  // The stamp is taken before the read: a change between the two makes the next Refresh read
  // again, never the reverse.
  TIniFileStamp now = io.Stamp(path);
  if (loaded && now == stamp) return usable;
  std::string text;
  TIniReadResult result = io.Read(path, kIniMaxFileBytes, text);
  usable = result != TIniReadResult::kFailed;
  document = result == TIniReadResult::kRead ? TIniDocument::Parse(text) : TIniDocument();
  stamp = now;
  loaded = true;
  return usable;
}

std::optional<std::string> TIniProfile::Get(std::string_view section, std::string_view key) {
  if (!Refresh()) return std::nullopt;
  std::optional<std::string_view> value = document.Find(section, key);
  if (!value) return std::nullopt;
  return std::string(*value);
}

bool TIniProfile::HasSection(std::string_view section) {
  return Refresh() && document.HasSection(section);
}

std::vector<std::string> TIniProfile::SectionNames() {
  if (!Refresh()) return {};
  return document.SectionNames();
}

std::vector<std::pair<std::string, std::string>> TIniProfile::Entries(std::string_view section) {
  if (!Refresh()) return {};
  return document.Entries(section);
}

bool TIniProfile::Set(std::string_view section, std::string_view key, std::string_view value) {
  if (!Refresh()) return false;
  std::optional<std::string_view> old = document.Find(section, key);
  if (old && *old == TrimProfileBlanks(value) && IsWritableValue(value) &&
      IsWritableSectionName(section) && IsWritableKeyName(key))
    return true;
  TIniDocument next = document;
  if (!next.Set(section, key, value)) return false;
  return Commit(std::move(next));
}

bool TIniProfile::Erase(std::string_view section, std::string_view key) {
  if (!Refresh()) return false;
  TIniDocument next = document;
  if (!next.Erase(section, key)) return true;
  return Commit(std::move(next));
}

bool TIniProfile::EraseSection(std::string_view section) {
  if (!Refresh()) return false;
  TIniDocument next = document;
  if (!next.EraseSection(section)) return true;
  return Commit(std::move(next));
}

bool TIniProfile::Commit(TIniDocument next) {
  if (!io.WriteAtomic(path, next.ToText(), createFolder)) return false;
  document = std::move(next);
  stamp = io.Stamp(path);
  return true;
}

}  // namespace kvt
