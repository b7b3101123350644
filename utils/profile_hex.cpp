#include "utils/profile_hex.h"

#include "utils/precondition.h"
#include "utils/private_profile.h"
#include "utils/profile_text.h"

#include <cstring>
#include <vector>

namespace kvt {

namespace {

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The ini reader's limit on the text it hands to the hex decoder.
constexpr size_t kHexTextLimit = 127;

}  // namespace

std::string EncodeProfileHex(const void* bytes, size_t size) {
  static const char kDigits[] = "0123456789abcdef";
  const auto* in = static_cast<const uint8_t*>(bytes);
  std::string text(size * 2, '0');
  for (size_t i = 0; i < size; ++i) {
    text[2 * i] = kDigits[in[i] >> 4];
    text[2 * i + 1] = kDigits[in[i] & 0x0F];
  }
  return text;
}

bool DecodeProfileHex(std::string_view text, void* bytes, size_t size) {
  if (text.size() != size * 2) return false;
  // Decode into a scratch copy so that a bad digit late in the text leaves bytes untouched.
  std::vector<uint8_t> decoded(size);
  for (size_t i = 0; i < size; ++i) {
    int high = HexDigitValue(text[2 * i]);
    int low = HexDigitValue(text[2 * i + 1]);
    if (high < 0 || low < 0) return false;
    decoded[i] = static_cast<uint8_t>(high << 4 | low);
  }
  if (size > 0) std::memcpy(bytes, decoded.data(), size);
  return true;
}

bool WriteProfileHex(TIniProfile& profile, const char* section, const char* key,
                     const void* bytes, int32_t valueSize) {
  KVT_PRECONDITION(valueSize < 63);
  KVT_PRECONDITION(valueSize >= 0 && (bytes != nullptr || valueSize == 0));
  // A null name would turn the write into a deletion of the section.
  if (section == nullptr || key == nullptr) return false;
  std::string text = EncodeProfileHex(bytes, static_cast<size_t>(valueSize));
  return WritePrivateProfileString(profile, section, key, text.c_str());
}

bool WriteProfileHex(const char* section, const char* key, const void* bytes, int32_t valueSize,
                     const char* path) {
  TIniProfile profile(path == nullptr ? std::string() : std::string(path), DefaultIniFileIo(),
                      false);
  return WriteProfileHex(profile, section, key, bytes, valueSize);
}

int32_t ReadProfileHex(TIniProfile& profile, const char* section, const char* key,
                       const void* def, void* buffer, int32_t valueSize) {
  KVT_PRECONDITION(valueSize < 63);
  KVT_PRECONDITION(valueSize >= 0 && (buffer != nullptr || valueSize == 0));
  size_t size = static_cast<size_t>(valueSize);
  // A missing key gives the caller's default (the text "00" would otherwise pass as one zero
  // byte for a one-byte value).
  std::optional<std::string> stored;
  if (section != nullptr && key != nullptr) stored = profile.Get(section, key);
  if (stored) {
    std::string_view text = StripProfileQuotes(*stored);
    if (text.size() <= kHexTextLimit && DecodeProfileHex(text, buffer, size)) return valueSize;
  }
  if (def == nullptr) return 0;
  if (size > 0) std::memcpy(buffer, def, size);
  return valueSize;
}

int32_t ReadProfileHex(const char* section, const char* key, const void* def, void* buffer,
                       int32_t valueSize, const char* path) {
  TIniProfile profile(path == nullptr ? std::string() : std::string(path), DefaultIniFileIo(),
                      false);
  return ReadProfileHex(profile, section, key, def, buffer, valueSize);
}

}  // namespace kvt
