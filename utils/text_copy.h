#pragma once
// Bounded copies of texts. Every cut falls on a character boundary: UTF-8 texts are never cut
// inside a multi-byte character and UTF-16 texts never between the two units of a surrogate
// pair. With a size of 0 or below nothing is written; otherwise the result is always
// terminated. A null text copies as "". The buffer may overlap the text.

namespace kvt {

// Copies text cut to at most size-1 bytes; returns buffer.
char* CopyStringMax(char* buffer, const char* text, int size);
// Copies text cut to at most size-1 units; returns buffer.
char16_t* CopyWideStringMax(char16_t* buffer, const char16_t* text, int size);
// CopyStringMax, then every "&" is doubled (for menu and label texts, where one "&" marks a
// shortcut) while the text stays within size-1 bytes; ampersands past that point stay single.
char* EscapeAmpersands(char* buffer, const char* text, int size);

}  // namespace kvt
