#pragma once
// Binary values as hex text: each byte two lower-case hex digits. The settings store uses the
// encoding for every binary value; WriteProfileHex / ReadProfileHex are the ini-file calls,
// limited to values below 63 bytes.

#include "utils/ini_profile.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kvt {

std::string EncodeProfileHex(const void* bytes, size_t size);
// Fills bytes[0..size) from text when the text is exactly 2 × size hex digits (either case);
// false otherwise, and then bytes is untouched.
bool DecodeProfileHex(std::string_view text, void* bytes, size_t size);

// Writes the value's hex text under key; false for a null section or key. Precondition: valueSize < 63, and bytes not null
// when valueSize > 0.
bool WriteProfileHex(TIniProfile& profile, const char* section, const char* key,
                     const void* bytes, int32_t valueSize);
bool WriteProfileHex(const char* section, const char* key, const void* bytes, int32_t valueSize,
                     const char* path);

// Reads the value back into buffer: when the stored text (quotes stripped) is exactly
// 2 × valueSize hex digits, its bytes, returning valueSize. Otherwise, and when the key is
// missing, the valueSize bytes of def (returning valueSize), or 0 without a default (buffer
// untouched). Precondition: 0 <= valueSize < 63, and buffer not null when valueSize > 0.
int32_t ReadProfileHex(TIniProfile& profile, const char* section, const char* key,
                       const void* def, void* buffer, int32_t valueSize);
int32_t ReadProfileHex(const char* section, const char* key, const void* def, void* buffer,
                       int32_t valueSize, const char* path);

}  // namespace kvt
