#pragma once
// Text rules shared by the ini reader and the settings store: quote stripping, quoting for
// exact round trips, bounded copies into callers' buffers and the two ways of reading an
// integer from a value text.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kvt {

// A value of at least two characters that begins and ends with the same quote character
// (' or ") loses both quotes; any other text comes back unchanged.
std::string_view StripProfileQuotes(std::string_view value);

// The inverse of StripProfileQuotes for a store whose texts must come back exactly: the text
// is wrapped in double quotes when the reader would otherwise change it (blanks at either end,
// or a matching quote pair around it); other texts are returned as they are.
std::string QuoteProfileValue(std::string_view text);

// Copies text into buffer, cut to at most size-1 bytes on a UTF-8 character boundary and
// always terminated; returns the bytes copied. A null buffer or a size below 1 copies nothing
// and returns 0.
int32_t CopyProfileText(char* buffer, int32_t size, std::string_view text);

// The whole text as a 32-bit integer: an optional sign and decimal digits, nothing else.
// Values from 2147483648 to 4294967295 wrap to negative numbers as a 32-bit word does.
// nullopt for anything else (empty, other characters, out of range).
std::optional<int32_t> ParseProfileDword(std::string_view text);

// The leading integer of a text, as the private ini reader gives it: blanks, an optional sign,
// then digits up to the first other character; no digits gives 0; an empty text gives def.
// Values beyond the 32-bit range saturate.
int32_t ParseProfileIntPrefix(std::string_view text, int32_t def);

}  // namespace kvt
