#include "scripting/lua_pattern_functions.h"

#include <cstring>

#include "scripting/script_numbers.h"
#include "scripting/utf8_decode.h"

namespace kvt {

namespace {

constexpr char kSpecials[] = "^$*+?.([%-";

bool HasNoSpecials(const char* p, size_t length) {
  for (size_t i = 0; i < length; ++i) {
    if (p[i] != '\0' && std::strchr(kSpecials, p[i]) != nullptr) return false;
  }
  return true;
}

// First place at or after s where the literal text lies, starting on a character boundary.
const char* FindPlain(TLuaPatternMatcher& m, const char* s, const char* literal, size_t length) {
  const char* end = m.SubjectEnd();
  for (;; s = m.NextChar(s)) {
    m.Budget().Steps(length + 1);
    if (static_cast<size_t>(end - s) < length) return nullptr;
    if (std::memcmp(s, literal, length) == 0) return s;
    if (s == end) return nullptr;
  }
}

int FindAux(lua_State* L, TPatternCodec codec, bool find) {
  size_t ls = 0;
  size_t lp = 0;
  const char* s = luaL_checklstring(L, 1, &ls);
  const char* p = luaL_checklstring(L, 2, &lp);
  const size_t count = CodecLength(codec, s, ls);
  int64_t init = RelativePosition(OptScriptInteger(L, 3, 1), count);
  if (init < 1) {
    init = 1;
  } else if (static_cast<uint64_t>(init) > count + 1) {
    lua_pushnil(L);
    return 1;
  }
  TLuaPatternMatcher m(L, codec, s, ls, p, lp);
  const char* start = s + CodecOffset(codec, s, ls, static_cast<size_t>(init));
  if (find && (lua_toboolean(L, 4) || HasNoSpecials(p, lp))) {
    if (const char* at = FindPlain(m, start, p, lp)) {
      lua_pushinteger(L, m.PositionOf(at));
      lua_pushinteger(L, m.PositionOf(at + lp) - 1);
      return 2;
    }
    lua_pushnil(L);
    return 1;
  }
  const bool anchor = lp > 0 && *p == '^';
  const char* pattern = anchor ? p + 1 : p;
  for (const char* s1 = start;; s1 = m.NextChar(s1)) {
    m.Prepare();
    if (const char* e = m.Match(s1, pattern)) {
      if (find) {
        lua_pushinteger(L, m.PositionOf(s1));
        lua_pushinteger(L, m.PositionOf(e) - 1);
        return m.PushCaptures(nullptr, nullptr, false) + 2;
      }
      return m.PushCaptures(s1, e, true);
    }
    if (anchor || s1 >= m.SubjectEnd()) break;
  }
  lua_pushnil(L);
  return 1;
}

template <TPatternCodec codec>
int GmatchStep(lua_State* L) {
  size_t ls = 0;
  size_t lp = 0;
  const char* s = lua_tolstring(L, lua_upvalueindex(1), &ls);
  const char* p = lua_tolstring(L, lua_upvalueindex(2), &lp);
  const auto offset = static_cast<size_t>(lua_tointeger(L, lua_upvalueindex(3)));
  TLuaPatternMatcher m(L, codec, s, ls, p, lp);
  for (const char* src = s + offset; src <= m.SubjectEnd(); src = m.NextChar(src)) {
    m.Prepare();
    if (const char* e = m.Match(src, p)) {
      // An empty match moves on by one character, so the iteration ends.
      const char* next = e == src && e < m.SubjectEnd() ? m.NextChar(e) : e == src ? e + 1 : e;
      lua_pushinteger(L, static_cast<lua_Integer>(next - s));
      lua_replace(L, lua_upvalueindex(3));
      return m.PushCaptures(src, e, true);
    }
    if (src == m.SubjectEnd()) break;
  }
  return 0;
}

void AddReplacementText(TLuaPatternMatcher& m, luaL_Buffer& b, const char* s, const char* e) {
  lua_State* L = b.L;
  size_t l = 0;
  const char* news = lua_tolstring(L, 3, &l);
  for (size_t i = 0; i < l; ++i) {
    m.Budget().Step();
    if (news[i] != '%') {
      luaL_addchar(&b, news[i]);
      continue;
    }
    ++i;
    const char c = i < l ? news[i] : '\0';
    if (c < '0' || c > '9') {
      if (c != '%') luaL_error(L, "invalid use of '%c' in replacement string", '%');
      luaL_addchar(&b, c);
    } else if (c == '0') {
      luaL_addlstring(&b, s, static_cast<size_t>(e - s));
    } else {
      m.PushCapture(c - '1', s, e);
      luaL_addvalue(&b);
    }
  }
}

void AddReplacement(TLuaPatternMatcher& m, luaL_Buffer& b, const char* s, const char* e, int tr) {
  lua_State* L = b.L;
  if (tr == LUA_TFUNCTION) {
    lua_pushvalue(L, 3);
    const int n = m.PushCaptures(s, e, true);
    lua_call(L, n, 1);
  } else if (tr == LUA_TTABLE) {
    m.PushCapture(0, s, e);
    lua_gettable(L, 3);
  } else {
    AddReplacementText(m, b, s, e);
    return;
  }
  if (!lua_toboolean(L, -1)) {
    lua_pop(L, 1);
    lua_pushlstring(L, s, static_cast<size_t>(e - s));
  } else if (!lua_isstring(L, -1)) {
    luaL_error(L, "invalid replacement value (a %s)", luaL_typename(L, -1));
  }
  luaL_addvalue(&b);
}

}  // namespace

size_t CodecLength(TPatternCodec codec, const char* s, size_t length) {
  if (codec == TPatternCodec::kBytes) return length;
  size_t n = 0;
  uint32_t code = 0;
  for (const char* p = s; p < s + length; p += DecodeUtf8Char(p, s + length, code)) ++n;
  return n;
}

size_t CodecOffset(TPatternCodec codec, const char* s, size_t length, size_t pos) {
  if (codec == TPatternCodec::kBytes) return pos - 1;
  const char* p = s;
  uint32_t code = 0;
  for (size_t i = 1; i < pos && p < s + length; ++i) p += DecodeUtf8Char(p, s + length, code);
  return static_cast<size_t>(p - s);
}

int64_t RelativePosition(int64_t pos, size_t length) {
  if (pos >= 0) return pos;
  if (static_cast<uint64_t>(-pos) > length) return 0;
  return static_cast<int64_t>(length) + pos + 1;
}

int PatternFind(lua_State* L, TPatternCodec codec) { return FindAux(L, codec, true); }

int PatternMatch(lua_State* L, TPatternCodec codec) { return FindAux(L, codec, false); }

int PatternGmatch(lua_State* L, TPatternCodec codec) {
  luaL_checkstring(L, 1);
  luaL_checkstring(L, 2);
  lua_settop(L, 2);
  lua_pushinteger(L, 0);
  lua_pushcclosure(L, codec == TPatternCodec::kBytes ? GmatchStep<TPatternCodec::kBytes>
                                                     : GmatchStep<TPatternCodec::kUtf8>,
                   3);
  return 1;
}

int PatternGsub(lua_State* L, TPatternCodec codec) {
  size_t srcl = 0;
  size_t lp = 0;
  const char* src = luaL_checklstring(L, 1, &srcl);
  const char* p = luaL_checklstring(L, 2, &lp);
  const int tr = lua_type(L, 3);
  const int64_t maxN = OptScriptInteger(L, 4, static_cast<int64_t>(srcl) + 1);
  luaL_argcheck(L,
                tr == LUA_TNUMBER || tr == LUA_TSTRING || tr == LUA_TFUNCTION || tr == LUA_TTABLE,
                3, "string/function/table expected");
  const bool anchor = lp > 0 && *p == '^';
  const char* pattern = anchor ? p + 1 : p;
  TLuaPatternMatcher m(L, codec, src, srcl, p, lp);
  luaL_Buffer b;
  luaL_buffinit(L, &b);
  int64_t n = 0;
  while (n < maxN) {
    m.Prepare();
    const char* e = m.Match(src, pattern);
    if (e != nullptr) {
      ++n;
      AddReplacement(m, b, src, e, tr);
    }
    if (e != nullptr && e > src) {
      src = e;
    } else if (src < m.SubjectEnd()) {
      const char* next = m.NextChar(src);
      luaL_addlstring(&b, src, static_cast<size_t>(next - src));
      src = next;
    } else {
      break;
    }
    if (anchor) break;
  }
  luaL_addlstring(&b, src, static_cast<size_t>(m.SubjectEnd() - src));
  luaL_pushresult(&b);
  lua_pushinteger(L, static_cast<lua_Integer>(n));
  return 2;
}

}  // namespace kvt
