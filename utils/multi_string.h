#pragma once
// Packed string lists and arrays of texts.
//
// A packed list holds texts one after another, each ending in a zero byte, and ends with an
// empty text (a second zero): "one\0two\0" followed by the final zero.

namespace kvt {

// The number of fields of a text: separators + 1; 0 for a null text. Texts are UTF-8 and the
// separator ASCII, so a byte of a multi-byte character is never taken for it.
int CountFields(const char* text, char separator);

// The n-th text of a packed list; the first one when n is below 0 or beyond the list. A null
// list gives null.
const char* GetMultiStringItem(const char* list, int n);
// The index of text in a packed list (exact, or ignoring case), or notFound.
int FindMultiStringItem(const char* list, const char* text, bool ignoreCase, int notFound);
// The index of text in an array of text pointers that ends with a null pointer, or notFound.
int FindStringInArray(const char* const* array, const char* text, bool ignoreCase, int notFound);

}  // namespace kvt
