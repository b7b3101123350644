#include "utils/registry_key.h"

#include "utils/ini_document.h"
#include "utils/profile_hex.h"
#include "utils/profile_text.h"

#include <charconv>
#include <cstring>

namespace kvt {

TKey::TKey(std::shared_ptr<TIniProfile> profile, TAccess access)
    : profile(std::move(profile)), writable(access == kCreate) {
  if (this->profile != nullptr && !this->profile->Refresh()) this->profile.reset();
}

TKey::TKey(const TKey& parent, const char* subkey, TAccess access) {
  if (!parent.IsOpen()) return;
  if (subkey == nullptr || subkey[0] == '\0') {
    if (!parent.profile->Refresh()) return;
    profile = parent.profile;
    section = parent.section;
    writable = access == kCreate;
    return;
  }
  std::string_view name = TrimProfileBlanks(subkey);
  if (!parent.IsProductKey() || name.empty() || !IsWritableSectionName(name)) return;
  if (!parent.profile->Refresh()) return;
  if (access == kRead && !parent.profile->HasSection(name)) return;
  profile = parent.profile;
  section = std::string(name);
  writable = access == kCreate;
}

std::optional<std::string> TKey::Read(const char* name) const {
  if (!IsOpen() || name == nullptr) return std::nullopt;
  std::optional<std::string> value = profile->Get(section, name);
  if (value) *value = std::string(StripProfileQuotes(*value));
  return value;
}

bool TKey::CanWrite(const char* name) const { return IsOpen() && writable && name != nullptr; }

bool TKey::DeleteSubKey(const char* name) {
  if (!CanWrite(name) || !IsProductKey()) return false;
  std::string_view trimmed = TrimProfileBlanks(name);
  if (trimmed.empty()) return false;
  return profile->EraseSection(trimmed);
}

bool TKey::DeleteValue(const char* name) {
  if (!CanWrite(name)) return false;
  return profile->Erase(section, name);
}

int32_t TKey::QueryBinary(void* buffer, int32_t size, const void* def, const char* name) const {
  if (buffer == nullptr || size < 0) return 0;
  std::optional<std::string> value = Read(name);
  if (value && DecodeProfileHex(*value, buffer, static_cast<size_t>(size))) return size;
  if (def == nullptr) return 0;
  if (size > 0) std::memcpy(buffer, def, static_cast<size_t>(size));
  return size;
}

int32_t TKey::QueryDword(int32_t def, const char* name) const {
  std::optional<std::string> value = Read(name);
  if (!value) return def;
  return ParseProfileDword(*value).value_or(def);
}

int32_t TKey::QueryString(char* buffer, int32_t size, const char* def, const char* name) const {
  std::optional<std::string> value = Read(name);
  if (value && size > 0 && value->size() < static_cast<size_t>(size))
    return CopyProfileText(buffer, size, *value);
  return CopyProfileText(buffer, size, def == nullptr ? "" : def);
}

std::string TKey::QueryString(const char* def, const char* name) const {
  std::optional<std::string> value = Read(name);
  if (value) return *value;
  return def == nullptr ? std::string() : std::string(def);
}

bool TKey::HasValue(const char* name) const { return Read(name).has_value(); }

bool TKey::SetBinary(const char* name, const void* bytes, int32_t size) {
  if (!CanWrite(name) || size < 0 || (bytes == nullptr && size > 0)) return false;
  return profile->Set(section, name, EncodeProfileHex(bytes, static_cast<size_t>(size)));
}

bool TKey::SetDword(const char* name, int32_t value) {
  if (!CanWrite(name)) return false;
  char text[16];
  auto [end, ec] = std::to_chars(text, text + sizeof text, value);
  return profile->Set(section, name, std::string_view(text, static_cast<size_t>(end - text)));
}

bool TKey::SetString(const char* name, const char* text) {
  if (!CanWrite(name)) return false;
  return profile->Set(section, name, QuoteProfileValue(text == nullptr ? "" : text));
}

}  // namespace kvt
