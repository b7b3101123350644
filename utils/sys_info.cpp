#include "utils/sys_info.h"

#include "utils/private_profile.h"
#include "utils/profile_hex.h"
#include "utils/profile_text.h"

#include <charconv>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include <unistd.h>

namespace kvt {

namespace {

// Major version 10 in the low byte, minor 0 in the next, the top bit clear for the NT family.
constexpr uint32_t kPlatformVersionValue = 10;

// One folder or file name: it must not climb out of or past the settings folder.
bool IsSingleFileName(std::string_view name, size_t maxBytes) {
  return !name.empty() && name.size() <= maxBytes && name != "." && name != ".." &&
         name.find('/') == std::string_view::npos;
}

std::string ConfigHome() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config != nullptr && config[0] == '/') return config;
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] == '/') return std::string(home) + "/.config";
  return std::string();
}

std::string IntText(int32_t value) {
  char text[16];
  auto [end, ec] = std::to_chars(text, text + sizeof text, value);
  return std::string(text, static_cast<size_t>(end - text));
}

}  // namespace

TSysInfo::TSysInfo(TIniFileIo* io, TSysStatusBar* statusBar, ICursorService* cursor)
    : io(io != nullptr ? *io : DefaultIniFileIo()),
      version(kPlatformVersionValue),
      statusBar(statusBar != nullptr ? *statusBar : NullSysStatusBar()),
      cursor(cursor != nullptr ? *cursor : NullCursorService()) {}

TSysInfo::~TSysInfo() {
  // The states end their waits through this store, so they go while it is whole.
  while (!statusStack.empty()) statusStack.pop_back();
}

void TSysInfo::SetProfileLocation(const char* company, const char* product) {
  this->company = company == nullptr ? "" : company;
  this->product = product == nullptr ? "" : product;
  RebuildProfile();
}

void TSysInfo::SetRegistryMode(bool registry) {
  if (registry == registryMode) return;
  registryMode = registry;
  RebuildProfile();
}

void TSysInfo::RebuildProfile() {
  profile.reset();
  if (!registryMode) {
    if (!product.empty())
      profile = std::make_shared<TIniProfile>(product, io, /*createFolder=*/false);
    return;
  }
  // The file name adds ".ini" to the product name; both must stay within one file name.
  if (!IsSingleFileName(company, 255) || !IsSingleFileName(product, 251)) return;
  std::string home = ConfigHome();
  if (home.empty()) return;
  profile = std::make_shared<TIniProfile>(home + "/" + company + "/" + product + ".ini", io,
                                          /*createFolder=*/true);
}

std::string TSysInfo::GetProfilePath() const {
  return profile != nullptr ? profile->Path() : std::string();
}

std::unique_ptr<TKey> TSysInfo::OpenProductKey() {
  if (!registryMode || profile == nullptr) return nullptr;
  auto key = std::make_unique<TKey>(profile, TKey::kCreate);
  if (!key->IsOpen()) return nullptr;
  return key;
}

std::unique_ptr<TKey> TSysInfo::OpenSectionKey(const char* section) {
  std::unique_ptr<TKey> productKey = OpenProductKey();
  if (productKey == nullptr || section == nullptr || section[0] == '\0') return productKey;
  auto key = std::make_unique<TKey>(*productKey, section, TKey::kCreate);
  if (!key->IsOpen()) return nullptr;
  return key;
}

int32_t TSysInfo::GetProfileInt(const char* section, const char* key, int32_t def) {
  if (!registryMode)
    return profile != nullptr ? GetPrivateProfileInt(*profile, section, key, def) : def;
  std::unique_ptr<TKey> sectionKey = OpenSectionKey(section);
  return sectionKey != nullptr ? sectionKey->QueryDword(def, key) : def;
}

int32_t TSysInfo::GetProfileString(const char* section, const char* key, const char* def,
                                   char* buffer, int32_t size) {
  if (!registryMode && profile != nullptr)
    return GetPrivateProfileString(*profile, section, key, def, buffer, size);
  std::unique_ptr<TKey> sectionKey = registryMode ? OpenSectionKey(section) : nullptr;
  if (sectionKey != nullptr) return sectionKey->QueryString(buffer, size, def, key);
  return CopyProfileText(buffer, size, def == nullptr ? "" : def);
}

std::string TSysInfo::GetProfileString(const char* section, const char* key, const char* def) {
  if (!registryMode && profile != nullptr)
    return GetPrivateProfileString(*profile, section, key, def);
  std::unique_ptr<TKey> sectionKey = registryMode ? OpenSectionKey(section) : nullptr;
  if (sectionKey != nullptr) return sectionKey->QueryString(def, key);
  return def == nullptr ? std::string() : std::string(def);
}

int32_t TSysInfo::GetProfileBinary(const char* section, const char* key, const void* def,
                                   void* buffer, int32_t size) {
  if (!registryMode) {
    if (profile != nullptr) return ReadProfileHex(*profile, section, key, def, buffer, size);
    return TKey().QueryBinary(buffer, size, def, key);
  }
  std::unique_ptr<TKey> sectionKey = OpenSectionKey(section);
  if (sectionKey != nullptr) return sectionKey->QueryBinary(buffer, size, def, key);
  return TKey().QueryBinary(buffer, size, def, key);
}

bool TSysInfo::WriteProfileInt(const char* section, const char* key, int32_t value) {
  if (!registryMode)
    return profile != nullptr && key != nullptr &&
           WritePrivateProfileString(*profile, section, key, IntText(value).c_str());
  std::unique_ptr<TKey> sectionKey = OpenSectionKey(section);
  return sectionKey != nullptr && sectionKey->SetDword(key, value);
}

bool TSysInfo::WriteProfileString(const char* section, const char* key, const char* text) {
  if (!registryMode)
    return profile != nullptr && WritePrivateProfileString(*profile, section, key, text);
  if (key == nullptr) {
    // Deleting the product key's own values through a missing section name would be a
    // wholesale loss; only a named section goes.
    if (section == nullptr || section[0] == '\0') return false;
    std::unique_ptr<TKey> productKey = OpenProductKey();
    return productKey != nullptr && productKey->DeleteSubKey(section);
  }
  std::unique_ptr<TKey> sectionKey = OpenSectionKey(section);
  if (sectionKey == nullptr) return false;
  return text == nullptr ? sectionKey->DeleteValue(key) : sectionKey->SetString(key, text);
}

bool TSysInfo::WriteProfileBinary(const char* section, const char* key, const void* bytes,
                                  int32_t size) {
  if (!registryMode)
    return profile != nullptr && WriteProfileHex(*profile, section, key, bytes, size);
  std::unique_ptr<TKey> sectionKey = OpenSectionKey(section);
  return sectionKey != nullptr && sectionKey->SetBinary(key, bytes, size);
}

bool TSysInfo::IsWin98OrLater() const {
  // The 95 family reporting a version above 4.0; this platform is never of that family.
  return IsWin95Family() && (GetMajorVersion() > 4 || GetMinorVersion() > 0);
}

bool TSysInfo::IsAdminUser() {
  if (!adminUser) adminUser = ::geteuid() == 0;
  return *adminUser;
}

}  // namespace kvt
