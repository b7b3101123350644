#pragma once
// find, match, gmatch and gsub over TLuaPatternMatcher, for the byte string library and for
// utf8string (positions in characters). Arguments and results as Lua 5.2's string library.

#include <lua.hpp>

#include "scripting/lua_pattern_matcher.h"

namespace kvt {

int PatternFind(lua_State* L, TPatternCodec codec);
int PatternMatch(lua_State* L, TPatternCodec codec);
int PatternGmatch(lua_State* L, TPatternCodec codec);
int PatternGsub(lua_State* L, TPatternCodec codec);

// The character count of a text in the codec's units (bytes, or UTF-8 characters).
size_t CodecLength(TPatternCodec codec, const char* s, size_t length);
// The byte offset of the 1-based character position pos (1..count + 1) of s.
size_t CodecOffset(TPatternCodec codec, const char* s, size_t length, size_t pos);
// Lua's relative position: negative counts from the end; below -length gives 0.
int64_t RelativePosition(int64_t pos, size_t length);

}  // namespace kvt
