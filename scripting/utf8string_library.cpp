#include "scripting/utf8string_library.h"

#include <string>
#include <vector>

#include "scripting/checked_string_library.h"
#include "scripting/lua_pattern_functions.h"
#include "scripting/lua_state_limits.h"
#include "scripting/script_numbers.h"
#include "scripting/unicode_chars.h"
#include "scripting/utf8_decode.h"

namespace kvt {

namespace {

// The characters of a text, walked with the deadline in view.
struct TChars {
  const char* begin;
  const char* end;

  size_t Count(TScriptStepBudget& budget) const {
    size_t n = 0;
    uint32_t code = 0;
    for (const char* p = begin; p < end; p += DecodeUtf8Char(p, end, code)) {
      budget.Step();
      ++n;
    }
    return n;
  }
  // Byte offset of the 1-based character i (1..count + 1).
  size_t Offset(TScriptStepBudget& budget, size_t i) const {
    const char* p = begin;
    uint32_t code = 0;
    for (size_t k = 1; k < i && p < end; ++k) {
      budget.Step();
      p += DecodeUtf8Char(p, end, code);
    }
    return static_cast<size_t>(p - begin);
  }
};

TChars CheckChars(lua_State* L, int arg) {
  size_t l = 0;
  const char* s = luaL_checklstring(L, arg, &l);
  return {s, s + l};
}

void PushString(lua_State* L, const std::string& s) { lua_pushlstring(L, s.data(), s.size()); }

// Maps every character through f.
template <typename F>
int MapChars(lua_State* L, F f) {
  const TChars t = CheckChars(L, 1);
  TScriptStepBudget budget(L);
  std::string out;
  out.reserve(static_cast<size_t>(t.end - t.begin));
  uint32_t code = 0;
  for (const char* p = t.begin; p < t.end;) {
    budget.Step();
    const size_t n = DecodeUtf8Char(p, t.end, code);
    if (IsBadByteCode(code))
      out.append(p, n);
    else
      AppendUtf8Char(out, f(code));
    p += n;
  }
  PushString(L, out);
  return 1;
}

int Len(lua_State* L) {
  const TChars t = CheckChars(L, 1);
  TScriptStepBudget budget(L);
  lua_pushinteger(L, static_cast<lua_Integer>(t.Count(budget)));
  return 1;
}

int Sub(lua_State* L) {
  const TChars t = CheckChars(L, 1);
  TScriptStepBudget budget(L);
  const size_t count = t.Count(budget);
  int64_t i = RelativePosition(CheckScriptInteger(L, 2), count);
  int64_t j = RelativePosition(OptScriptInteger(L, 3, -1), count);
  if (i < 1) i = 1;
  if (j > static_cast<int64_t>(count)) j = static_cast<int64_t>(count);
  if (i > j) {
    lua_pushliteral(L, "");
    return 1;
  }
  const size_t from = t.Offset(budget, static_cast<size_t>(i));
  const size_t to = t.Offset(budget, static_cast<size_t>(j) + 1);
  lua_pushlstring(L, t.begin + from, to - from);
  return 1;
}

int Upper(lua_State* L) { return MapChars(L, UnicodeToUpper); }
int Lower(lua_State* L) { return MapChars(L, UnicodeToLower); }
int Fold(lua_State* L) { return MapChars(L, UnicodeFold); }
int Title(lua_State* L) { return MapChars(L, UnicodeToTitle); }

int Reverse(lua_State* L) {
  const TChars t = CheckChars(L, 1);
  TScriptStepBudget budget(L);
  std::string out;
  out.reserve(static_cast<size_t>(t.end - t.begin));
  for (const char* p = t.end; p > t.begin;) {
    budget.Step();
    const char* q = PrevUtf8Char(t.begin, p);
    out.append(q, p);
    p = q;
  }
  PushString(L, out);
  return 1;
}

int Byte(lua_State* L) {
  const TChars t = CheckChars(L, 1);
  TScriptStepBudget budget(L);
  const size_t count = t.Count(budget);
  int64_t i = RelativePosition(OptScriptInteger(L, 2, 1), count);
  int64_t j = RelativePosition(OptScriptInteger(L, 3, i), count);
  if (i < 1) i = 1;
  if (j > static_cast<int64_t>(count)) j = static_cast<int64_t>(count);
  if (i > j) return 0;
  const int64_t n = j - i + 1;
  if (n >= INT32_MAX) return luaL_error(L, "string slice too long");
  luaL_checkstack(L, static_cast<int>(n), "string slice too long");
  const char* p = t.begin + t.Offset(budget, static_cast<size_t>(i));
  for (int64_t k = 0; k < n; ++k) {
    uint32_t code = 0;
    p += DecodeUtf8Char(p, t.end, code);
    lua_pushinteger(L, static_cast<lua_Integer>(code));
  }
  return static_cast<int>(n);
}

int Char(lua_State* L) {
  const int n = lua_gettop(L);
  std::string out;
  for (int i = 1; i <= n; ++i) {
    const int64_t code = CheckScriptInteger(L, i);
    if (code < 0 || !AppendUtf8Char(out, static_cast<uint32_t>(code)))
      luaL_argerror(L, i, "value out of range");
  }
  PushString(L, out);
  return 1;
}

int Find(lua_State* L) { return PatternFind(L, TPatternCodec::kUtf8); }
int Match(lua_State* L) { return PatternMatch(L, TPatternCodec::kUtf8); }
int Gmatch(lua_State* L) { return PatternGmatch(L, TPatternCodec::kUtf8); }
int Gsub(lua_State* L) { return PatternGsub(L, TPatternCodec::kUtf8); }

// The start of the character that holds byte offset `offset` (0-based, inside the text).
const char* CharStartAt(const TChars& t, TScriptStepBudget& budget, size_t offset) {
  const char* p = t.begin;
  uint32_t code = 0;
  for (;;) {
    budget.Step();
    const size_t n = DecodeUtf8Char(p, t.end, code);
    if (p + n > t.begin + offset) return p;
    p += n;
  }
}

// Moves n characters from `from` (a character start, or null for "before the first
// character"); null when that leaves the text.
const char* MoveChars(const TChars& t, TScriptStepBudget& budget, const char* from, int64_t n) {
  uint32_t code = 0;
  if (from == nullptr) {
    if (n <= 0 || t.begin == t.end) return nullptr;
    from = t.begin;
    --n;
  }
  for (; n > 0; --n) {
    budget.Step();
    from += DecodeUtf8Char(from, t.end, code);
    if (from >= t.end) return nullptr;
  }
  for (; n < 0; ++n) {
    budget.Step();
    if (from == t.begin) return nullptr;
    from = PrevUtf8Char(t.begin, from);
  }
  return from;
}

int PushPosition(lua_State* L, const TChars& t, const char* p) {
  if (p == nullptr || p >= t.end) {
    lua_pushnil(L);
    return 1;
  }
  uint32_t code = 0;
  DecodeUtf8Char(p, t.end, code);
  lua_pushinteger(L, static_cast<lua_Integer>(p - t.begin) + 1);
  lua_pushinteger(L, static_cast<lua_Integer>(code));
  return 2;
}

// The character start at 1-based byte position pos, or null for a position outside the text.
const char* CharAtBytePosition(const TChars& t, TScriptStepBudget& budget, int64_t pos) {
  if (pos < 1 || pos > t.end - t.begin) return nullptr;
  return CharStartAt(t, budget, static_cast<size_t>(pos - 1));
}

int CharPos(lua_State* L) {
  const TChars t = CheckChars(L, 1);
  TScriptStepBudget budget(L);
  if (lua_gettop(L) < 3) {
    const int64_t n = OptScriptInteger(L, 2, 1);
    if (n >= 0) return PushPosition(L, t, MoveChars(t, budget, nullptr, n));
    // From the end: -1 is the last character.
    if (t.begin == t.end) return PushPosition(L, t, nullptr);
    const char* last = PrevUtf8Char(t.begin, t.end);
    return PushPosition(L, t, MoveChars(t, budget, last, n + 1));
  }
  const char* from = CharAtBytePosition(t, budget, CheckScriptInteger(L, 2));
  if (from == nullptr) return PushPosition(L, t, nullptr);
  return PushPosition(L, t, MoveChars(t, budget, from, CheckScriptInteger(L, 3)));
}

int Next(lua_State* L) {
  const TChars t = CheckChars(L, 1);
  TScriptStepBudget budget(L);
  const int64_t n = OptScriptInteger(L, 3, 1);
  if (lua_isnoneornil(L, 2)) return PushPosition(L, t, MoveChars(t, budget, nullptr, n));
  const char* from = CharAtBytePosition(t, budget, CheckScriptInteger(L, 2));
  if (from == nullptr) return PushPosition(L, t, nullptr);
  return PushPosition(L, t, MoveChars(t, budget, from, n));
}

// The byte offset before character i of a text of count characters (i from -count - 1 to
// count + 1; negative from the end, -1 before the last character... as the functions say).
size_t InsertOffset(lua_State* L, const TChars& t, TScriptStepBudget& budget, int arg,
                    size_t count) {
  int64_t i = CheckScriptInteger(L, arg);
  if (i < 0) i = static_cast<int64_t>(count) + i + 1;
  if (i < 1 || i > static_cast<int64_t>(count) + 1) luaL_argerror(L, arg, "position out of range");
  return t.Offset(budget, static_cast<size_t>(i));
}

int Insert(lua_State* L) {
  const TChars t = CheckChars(L, 1);
  TScriptStepBudget budget(L);
  size_t offset = static_cast<size_t>(t.end - t.begin);
  int textArg = 2;
  if (lua_gettop(L) >= 3) {
    offset = InsertOffset(L, t, budget, 2, t.Count(budget));
    textArg = 3;
  }
  size_t l = 0;
  const char* text = luaL_checklstring(L, textArg, &l);
  std::string out(t.begin, offset);
  out.append(text, l);
  out.append(t.begin + offset, t.end);
  PushString(L, out);
  return 1;
}

int Remove(lua_State* L) {
  const TChars t = CheckChars(L, 1);
  TScriptStepBudget budget(L);
  const size_t count = t.Count(budget);
  int64_t i = RelativePosition(OptScriptInteger(L, 2, -1), count);
  int64_t j = RelativePosition(OptScriptInteger(L, 3, -1), count);
  if (i < 1) i = 1;
  if (j > static_cast<int64_t>(count)) j = static_cast<int64_t>(count);
  if (i > j) {
    lua_settop(L, 1);
    return 1;
  }
  const size_t from = t.Offset(budget, static_cast<size_t>(i));
  const size_t to = t.Offset(budget, static_cast<size_t>(j) + 1);
  std::string out(t.begin, from);
  out.append(t.begin + to, t.end);
  PushString(L, out);
  return 1;
}

int Escape(lua_State* L) {
  const TChars t = CheckChars(L, 1);
  TScriptStepBudget budget(L);
  std::string out;
  for (const char* p = t.begin; p < t.end;) {
    budget.Step();
    if (*p != '%' || p + 1 >= t.end) {
      out.push_back(*p++);
      continue;
    }
    ++p;
    int base = 10;
    if (*p == 'u' || *p == 'x') {
      base = *p == 'x' ? 16 : 10;
      ++p;
    }
    const bool braced = p < t.end && *p == '{';
    if (braced) ++p;
    uint64_t code = 0;
    const char* digits = p;
    for (; p < t.end; ++p) {
      const char c = *p;
      int d = -1;
      if (c >= '0' && c <= '9') d = c - '0';
      if (base == 16 && c >= 'a' && c <= 'f') d = c - 'a' + 10;
      if (base == 16 && c >= 'A' && c <= 'F') d = c - 'A' + 10;
      if (d < 0) break;
      code = code * static_cast<uint64_t>(base) + static_cast<uint64_t>(d);
      if (code > 0x7FFFFFFF) luaL_error(L, "escape sequence too large");
    }
    if (braced) {
      if (p >= t.end || *p != '}') luaL_error(L, "missing '}' in escape sequence");
      ++p;
    }
    if (p == digits + (braced ? 1 : 0)) {
      // No number: "%" before any other character stands for that character.
      if (p < t.end) {
        uint32_t c = 0;
        const size_t n = DecodeUtf8Char(p, t.end, c);
        out.append(p, n);
        p += n;
      }
      continue;
    }
    AppendUtf8Char(out, static_cast<uint32_t>(code));
  }
  PushString(L, out);
  return 1;
}

int NCaseCmp(lua_State* L) {
  const TChars a = CheckChars(L, 1);
  const TChars b = CheckChars(L, 2);
  TScriptStepBudget budget(L);
  const char* p = a.begin;
  const char* q = b.begin;
  while (p < a.end && q < b.end) {
    budget.Step();
    uint32_t ca = 0;
    uint32_t cb = 0;
    p += DecodeUtf8Char(p, a.end, ca);
    q += DecodeUtf8Char(q, b.end, cb);
    ca = UnicodeFold(ca);
    cb = UnicodeFold(cb);
    if (ca != cb) {
      lua_pushinteger(L, ca < cb ? -1 : 1);
      return 1;
    }
  }
  lua_pushinteger(L, p < a.end ? 1 : q < b.end ? -1 : 0);
  return 1;
}

struct TWidthOptions {
  bool ambiguousIsDouble;
  int defaultWidth;
};

TWidthOptions CheckWidthOptions(lua_State* L, int arg) {
  TWidthOptions options{lua_toboolean(L, arg) != 0, 1};
  if (!lua_isnoneornil(L, arg + 1))
    options.defaultWidth =
        static_cast<int>(CheckScriptIntegerIn(L, arg + 1, 0, 2, "default width out of range"));
  return options;
}

int Width(lua_State* L) {
  if (lua_type(L, 1) == LUA_TNUMBER) {
    const int64_t code = CheckScriptInteger(L, 1);
    const TWidthOptions options = CheckWidthOptions(L, 2);
    if (code < 0 || code > 0x7FFFFFFF) return luaL_argerror(L, 1, "value out of range");
    lua_pushinteger(L, UnicodeWidth(static_cast<uint32_t>(code), options.ambiguousIsDouble,
                                    options.defaultWidth));
    return 1;
  }
  const TChars t = CheckChars(L, 1);
  const TWidthOptions options = CheckWidthOptions(L, 2);
  TScriptStepBudget budget(L);
  lua_Integer total = 0;
  uint32_t code = 0;
  for (const char* p = t.begin; p < t.end; p += DecodeUtf8Char(p, t.end, code)) {
    budget.Step();
    DecodeUtf8Char(p, t.end, code);
    total += UnicodeWidth(code, options.ambiguousIsDouble, options.defaultWidth);
  }
  lua_pushinteger(L, total);
  return 1;
}

int WidthIndex(lua_State* L) {
  const TChars t = CheckChars(L, 1);
  int64_t column = CheckScriptInteger(L, 2);
  const TWidthOptions options = CheckWidthOptions(L, 3);
  TScriptStepBudget budget(L);
  lua_Integer index = 1;
  uint32_t code = 0;
  for (const char* p = t.begin; p < t.end; ++index) {
    budget.Step();
    p += DecodeUtf8Char(p, t.end, code);
    const int w = UnicodeWidth(code, options.ambiguousIsDouble, options.defaultWidth);
    if (column <= w) {
      lua_pushinteger(L, index);
      lua_pushinteger(L, column < 1 ? 1 : column);
      lua_pushinteger(L, w);
      return 3;
    }
    column -= w;
  }
  lua_pushinteger(L, index);
  return 1;
}

}  // namespace

int OpenUtf8StringLibrary(lua_State* L) {
  const luaL_Reg functions[] = {
      {"len", Len},         {"sub", Sub},           {"upper", Upper},
      {"lower", Lower},     {"reverse", Reverse},   {"byte", Byte},
      {"char", Char},       {"rep", CheckedStringRep}, {"find", Find},
      {"match", Match},     {"gmatch", Gmatch},     {"gsub", Gsub},
      {"charpos", CharPos}, {"next", Next},         {"insert", Insert},
      {"remove", Remove},   {"escape", Escape},     {"fold", Fold},
      {"ncasecmp", NCaseCmp}, {"title", Title},     {"width", Width},
      {"widthindex", WidthIndex}, {nullptr, nullptr}};
  luaL_newlib(L, functions);
  // format is the string library's own, taken from the loaded library (opening it again would
  // reset the strings' method table).
  luaL_getsubtable(L, LUA_REGISTRYINDEX, "_LOADED");
  lua_getfield(L, -1, "string");
  if (lua_istable(L, -1)) {
    lua_getfield(L, -1, "format");
    lua_setfield(L, -4, "format");
  }
  lua_pop(L, 2);
  return 1;
}

}  // namespace kvt
