#include "utils/private_profile.h"

#include "utils/profile_text.h"

#include <optional>

namespace kvt {

namespace {

std::optional<std::string> FindValue(TIniProfile& profile, const char* section, const char* key) {
  if (section == nullptr || key == nullptr) return std::nullopt;
  std::optional<std::string> value = profile.Get(section, key);
  if (value) *value = std::string(StripProfileQuotes(*value));
  return value;
}

TIniProfile ProfileAt(const char* path) {
  return TIniProfile(path == nullptr ? std::string() : std::string(path), DefaultIniFileIo(),
                     false);
}

}  // namespace

int32_t GetPrivateProfileString(TIniProfile& profile, const char* section, const char* key,
                                const char* def, char* buffer, int32_t size) {
  std::optional<std::string> value = FindValue(profile, section, key);
  if (value) return CopyProfileText(buffer, size, *value);
  return CopyProfileText(buffer, size, def == nullptr ? "" : def);
}

int32_t GetPrivateProfileString(const char* section, const char* key, const char* def,
                                char* buffer, int32_t size, const char* path) {
  TIniProfile profile = ProfileAt(path);
  return GetPrivateProfileString(profile, section, key, def, buffer, size);
}

std::string GetPrivateProfileString(TIniProfile& profile, const char* section, const char* key,
                                    const char* def) {
  std::optional<std::string> value = FindValue(profile, section, key);
  if (value) return *value;
  return def == nullptr ? std::string() : std::string(def);
}

int32_t GetPrivateProfileInt(TIniProfile& profile, const char* section, const char* key,
                             int32_t def) {
  std::optional<std::string> value = FindValue(profile, section, key);
  return value ? ParseProfileIntPrefix(*value, def) : def;
}

int32_t GetPrivateProfileInt(const char* section, const char* key, int32_t def,
                             const char* path) {
  TIniProfile profile = ProfileAt(path);
  return GetPrivateProfileInt(profile, section, key, def);
}

bool WritePrivateProfileString(TIniProfile& profile, const char* section, const char* key,
                               const char* text) {
  if (section == nullptr) return key == nullptr && text == nullptr;
  if (key == nullptr) return profile.EraseSection(section);
  if (text == nullptr) return profile.Erase(section, key);
  return profile.Set(section, key, text);
}

bool WritePrivateProfileString(const char* section, const char* key, const char* text,
                               const char* path) {
  TIniProfile profile = ProfileAt(path);
  return WritePrivateProfileString(profile, section, key, text);
}

std::vector<std::string> GetPrivateProfileSectionNames(const char* path) {
  TIniProfile profile = ProfileAt(path);
  return profile.SectionNames();
}

std::vector<std::pair<std::string, std::string>> GetPrivateProfileSection(const char* section,
                                                                          const char* path) {
  if (section == nullptr) return {};
  TIniProfile profile = ProfileAt(path);
  std::vector<std::pair<std::string, std::string>> entries = profile.Entries(section);
  for (auto& entry : entries) entry.second = std::string(StripProfileQuotes(entry.second));
  return entries;
}

}  // namespace kvt
