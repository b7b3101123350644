#pragma once
// utf8string: the string functions over UTF-8 characters, for scripts that handle song texts.
// Positions and lengths count characters; a bad byte is one character (utf8_decode.h).
//
//   len, sub, upper, lower, reverse, byte, char, rep, format, find, match, gmatch, gsub:
//     as the string library's functions of the same names, in characters (byte gives and
//     char takes code points; rep and format are the string library's).
//   charpos(s [, charpos], n): with n alone the byte position of character n (negative from
//     the end); with charpos, the byte position n characters after (before, for a negative
//     n) the character at byte charpos. Returns the byte position and the code there, or nil.
//   next(s [, charpos [, n]]): as charpos with n defaulting to 1, starting before the first
//     character when charpos is nil, so "for pos, code in utf8string.next, s" walks s.
//   insert(s [, i], text): text put before character i (negative from the end; default the
//     end). remove(s [, i [, j]]): characters i..j removed (defaults: the last character; j
//     defaults to the end when i is given).
//   escape(s): "%123", "%{123}", "%u123", "%u{123}" (decimal) and "%x7F", "%x{7F}" (hex)
//     become that character; "%" before any other character gives the character itself.
//   fold(s), title(s): case folding and title case per character. ncasecmp(a, b): -1, 0, 1
//     comparing folded characters.
//   width(s or code [, ambiguousIsDouble [, defaultWidth]]): display columns.
//   widthindex(s, column [, ambiguousIsDouble [, defaultWidth]]): the character at that
//     display column, the column within it (1 or 2) and its width; past the end the
//     character count + 1.
//
// Every loop looks at the script's deadline.

#include <lua.hpp>

namespace kvt {

// Pushes the library table.
int OpenUtf8StringLibrary(lua_State* L);

}  // namespace kvt
