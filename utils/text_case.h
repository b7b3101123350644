#pragma once
// Case-insensitive comparison of UTF-8 and UTF-16 texts.
//
// Folding covers ASCII, Latin-1 Supplement and Latin Extended-A letters (A-Z, À-Þ, Ā-ž and
// Ÿ): enough for names, paths and the words this program compares. Texts are compared by
// folded code point, so the order is the same for a UTF-8 text and its UTF-16 form. Bytes
// that are not valid UTF-8 and unpaired surrogates never fold; invalid bytes sort after every
// code point. A null text compares as the empty text.

namespace kvt {

// The lower-case form of a code point for comparison; other code points unchanged.
char32_t FoldCase(char32_t c);

// Negative, zero or positive as a sorts before, equal to or after b ignoring case.
int CompareTextIgnoreCase(const char* a, const char* b);
int CompareWideIgnoreCase(const char16_t* a, const char16_t* b);

// Exact (byte-wise) or case-insensitive equality; a null text equals only "" and null.
bool TextEquals(const char* a, const char* b, bool ignoreCase);

// Whether text begins with prefix (an empty prefix always matches).
bool StartsWithIgnoreCase(const char* text, const char* prefix);

// The first place in text where part occurs ignoring case, or null; an empty part matches at
// the start of the text; a null text or part gives null. The place is always the start of a
// character.
const char* FindTextIgnoreCase(const char* text, const char* part);

}  // namespace kvt
