#pragma once
// The private-profile calls on ini files: the program ini file, "piano.ini", "fonts.ini", the
// user-tool files and the settings store in ini mode all read and write through these.
//
// Values are texts: reading strips one pair of matching quotes (StripProfileQuotes); writing
// stores the text as given, so a caller that wants quotes to survive writes them doubled or
// in the other kind of quote. Each call taking a path reads the file afresh and writes it
// back atomically; the forms taking a TIniProfile use its cached copy.
//
// Names of sections and keys compare without case. Lines holding CR, LF or a zero byte, keys
// holding "=" and section names holding "]" cannot be written (the write fails) because the
// file would not read back as written.

#include "utils/ini_profile.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace kvt {

// The value of key in section without its quotes, copied into buffer (cut at size-1 bytes on a
// character boundary); when the file, section or key is missing, the default instead (an
// empty text for a null default). Returns the bytes copied. A null section or key finds
// nothing (lists are read with the calls below).
int32_t GetPrivateProfileString(TIniProfile& profile, const char* section, const char* key,
                                const char* def, char* buffer, int32_t size);
int32_t GetPrivateProfileString(const char* section, const char* key, const char* def,
                                char* buffer, int32_t size, const char* path);
std::string GetPrivateProfileString(TIniProfile& profile, const char* section, const char* key,
                                    const char* def);

// The leading integer of the value (ParseProfileIntPrefix): the default when the key is missing
// or its value empty, 0 when it does not start with a number.
int32_t GetPrivateProfileInt(TIniProfile& profile, const char* section, const char* key,
                             int32_t def);
int32_t GetPrivateProfileInt(const char* section, const char* key, int32_t def,
                             const char* path);

// Writes text under key in section. A null text deletes the key, a null key deletes the whole
// section; a null section with a null key and text only flushes, which succeeds at once since
// every change is already on disk. A null section otherwise fails.
bool WritePrivateProfileString(TIniProfile& profile, const char* section, const char* key,
                               const char* text);
bool WritePrivateProfileString(const char* section, const char* key, const char* text,
                               const char* path);

// The section names of the file in file order, each once.
std::vector<std::string> GetPrivateProfileSectionNames(const char* path);
// The keys of a section in file order with their values (quotes stripped), each key once.
std::vector<std::pair<std::string, std::string>> GetPrivateProfileSection(const char* section,
                                                                          const char* path);

}  // namespace kvt
