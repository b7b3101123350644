#include "utils/text_copy.h"

#include <cstring>
#include <string_view>

#include "utils/text_encoding.h"

namespace kvt {

char* CopyStringMax(char* buffer, const char* text, int size) {
  if (!buffer || size <= 0) return buffer;
  const std::string_view view(text ? text : "");
  const size_t n = Utf8PrefixLength(view, static_cast<size_t>(size) - 1);
  std::memmove(buffer, view.data(), n);
  buffer[n] = 0;
  return buffer;
}

char16_t* CopyWideStringMax(char16_t* buffer, const char16_t* text, int size) {
  if (!buffer || size <= 0) return buffer;
  const std::u16string_view view(text ? text : u"");
  const size_t n = Utf16PrefixLength(view, static_cast<size_t>(size) - 1);
  std::memmove(buffer, view.data(), n * sizeof(char16_t));
  buffer[n] = 0;
  return buffer;
}

char* EscapeAmpersands(char* buffer, const char* text, int size) {
  CopyStringMax(buffer, text, size);
  if (!buffer || size <= 0) return buffer;
  size_t length = std::strlen(buffer);
  for (size_t i = 0; i < length && length + 1 <= static_cast<size_t>(size) - 1; ++i) {
    if (buffer[i] != '&') continue;
    // Shift the rest (terminator included) one byte right and double this ampersand.
    std::memmove(buffer + i + 1, buffer + i, length - i + 1);
    ++length;
    ++i;
  }
  return buffer;
}

}  // namespace kvt
