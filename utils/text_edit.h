#pragma once
// In-place edits of zero-terminated texts. Narrow texts are UTF-8: only ASCII bytes are ever
// replaced, removed or trimmed, so a multi-byte character is never cut. Wide texts are UTF-16:
// surrogate units are never trimmed, so a pair is never split. Every function returns its text;
// a null text is returned as null and left alone.

namespace kvt {

// For each ASCII character, the first of `count` (from, to) byte pairs whose from matches
// applies: the character becomes to, or is deleted when to is 0. pairs holds 2 * count bytes.
char* ReplaceChars(char* text, const char* pairs, int count);

// A run of one repeated ASCII character from the set is reduced to one character.
char* CollapseRepeats(char* text, const char* set);

// Remove leading, trailing or both blanks, tabs, carriage returns and line feeds; the forms
// with a set remove the set's ASCII characters instead.
char* TrimLeft(char* text);
char* TrimLeft(char* text, const char* set);
char* TrimRight(char* text);
char* TrimRight(char* text, const char* set);
char* TrimSpaces(char* text);
char* TrimSpaces(char* text, const char* set);
char16_t* TrimWideLeft(char16_t* text);
char16_t* TrimWideLeft(char16_t* text, const char16_t* set);
char16_t* TrimWideRight(char16_t* text);
char16_t* TrimWideRight(char16_t* text, const char16_t* set);

}  // namespace kvt
