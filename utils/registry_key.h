#pragma once
// TKey: one open key of the settings store. The store is one ini file per product (see
// TSysInfo): the product key is the file itself, and each section of the file is a subkey of
// it. The values before the first section header are the product key's own values. Sections
// have no subkeys.
//
// Values are kept as text and typed by how they read:
// - an integer ("dword") is written as decimal text; it reads back only when the whole text is
//   one integer (ParseProfileDword), so a hand-edited "12ab" gives the default;
// - a text reads back exactly as written: the writer adds quotes where the ini reader would
//   otherwise drop blanks or quotes (QuoteProfileValue); every value reads as text;
// - a binary value is written as hex text (EncodeProfileHex) and reads back only when its
//   text is exactly twice the caller's size in hex digits.
// Texts holding CR, LF or a zero byte cannot be stored: the write fails.
//
// A key that is not open fails quietly: reads give their defaults, writes and deletions
// return false. A read-only key refuses writes and deletions the same way. Copies share the
// file; the file stays in use while any key on it lives.

#include "utils/ini_profile.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace kvt {

class TKey {
public:
  enum TAccess {
    kRead,    // open an existing subkey for reading only
    kCreate,  // open or create a subkey for reading, creating subkeys and setting values
  };

  // A key that is not open.
  TKey() = default;
  // The product key of the settings file held by profile (null: not open).
  TKey(std::shared_ptr<TIniProfile> profile, TAccess access);
  // The subkey of parent named subkey; a null or empty name is parent itself (with the new
  // access). kRead opens only an existing section; kCreate always opens, and the section
  // comes into the file with its first value. Not open when parent is not open, the file is
  // unusable, the parent is itself a section, or the name cannot name a section.
  TKey(const TKey& parent, const char* subkey, TAccess access = kRead);

  TKey(const TKey&) = default;
  TKey& operator=(const TKey&) = default;

  bool IsOpen() const { return profile != nullptr; }
  bool IsProductKey() const { return IsOpen() && section.empty(); }

  // Removes the section named name with all its values; only on the product key.
  bool DeleteSubKey(const char* name);
  // True when the value is absent afterwards (it need not have existed).
  bool DeleteValue(const char* name);

  // The value's bytes when it is binary of exactly size bytes, returning size; otherwise the
  // size bytes of def (returning size), or 0 without a default and buffer untouched.
  int32_t QueryBinary(void* buffer, int32_t size, const void* def, const char* name) const;
  int32_t QueryDword(int32_t def, const char* name) const;
  // The text copied into buffer when it fits in size-1 bytes, returning its length; otherwise
  // (missing or too long) the default (an empty text for null) copied and cut to fit.
  int32_t QueryString(char* buffer, int32_t size, const char* def, const char* name) const;
  // The whole text, or the default (empty for null).
  std::string QueryString(const char* def, const char* name) const;
  // True when the value exists.
  bool HasValue(const char* name) const;

  bool SetBinary(const char* name, const void* bytes, int32_t size);
  bool SetDword(const char* name, int32_t value);
  // A null text stores an empty text.
  bool SetString(const char* name, const char* text);

private:
  std::optional<std::string> Read(const char* name) const;
  bool CanWrite(const char* name) const;

  std::shared_ptr<TIniProfile> profile;  // null when not open
  std::string section;                   // "" for the product key
  bool writable = false;
};

}  // namespace kvt
