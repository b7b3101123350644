#include "scripting/lua_pattern_matcher.h"

#include <cstring>

#include "scripting/unicode_chars.h"
#include "scripting/utf8_decode.h"

namespace kvt {

namespace {
constexpr char kEsc = '%';
}

TLuaPatternMatcher::TLuaPatternMatcher(lua_State* L, TPatternCodec codec, const char* subject,
                                       size_t subjectLength, const char* pattern,
                                       size_t patternLength)
    : L(L),
      codec(codec),
      srcInit(subject),
      srcEnd(subject + subjectLength),
      pEnd(pattern + patternLength),
      budget(L) {}

void TLuaPatternMatcher::Prepare() {
  level = 0;
  depth = kMaxDepth;
}

size_t TLuaPatternMatcher::Decode(const char* p, const char* end, uint32_t& code) const {
  if (codec == TPatternCodec::kBytes) {
    code = static_cast<unsigned char>(*p);
    return 1;
  }
  return DecodeUtf8Char(p, end, code);
}

const char* TLuaPatternMatcher::Prev(const char* start, const char* p) const {
  return codec == TPatternCodec::kBytes ? p - 1 : PrevUtf8Char(start, p);
}

const char* TLuaPatternMatcher::NextChar(const char* s) const {
  uint32_t code = 0;
  return s + Decode(s, srcEnd, code);
}

uint32_t TLuaPatternMatcher::CodeAt(const char* s) const {
  uint32_t code = 0;
  if (s < srcEnd) Decode(s, srcEnd, code);
  return code;
}

lua_Integer TLuaPatternMatcher::PositionOf(const char* p) const {
  if (codec == TPatternCodec::kBytes) return static_cast<lua_Integer>(p - srcInit) + 1;
  lua_Integer n = 1;
  for (const char* s = srcInit; s < p; s = NextChar(s)) ++n;
  return n;
}

const char* TLuaPatternMatcher::ClassEnd(const char* p) {
  uint32_t c = 0;
  p += Decode(p, pEnd, c);
  if (c == static_cast<uint32_t>(kEsc)) {
    if (p >= pEnd) luaL_error(L, "malformed pattern (ends with '%%')");
    return p + Decode(p, pEnd, c);
  }
  if (c == '[') {
    if (p < pEnd && *p == '^') ++p;
    // The first character of a set may be ']' itself.
    do {
      if (p >= pEnd) luaL_error(L, "malformed pattern (missing ']')");
      uint32_t d = 0;
      p += Decode(p, pEnd, d);
      if (d == static_cast<uint32_t>(kEsc) && p < pEnd) p += Decode(p, pEnd, d);
    } while (p >= pEnd || *p != ']');
    return p + 1;
  }
  return p;
}

bool TLuaPatternMatcher::MatchBracket(uint32_t c, const char* p, const char* ec) const {
  bool sig = true;
  ++p;  // the '['
  if (*p == '^') {
    sig = false;
    ++p;
  }
  while (p < ec) {
    uint32_t pc = 0;
    const size_t n = Decode(p, ec, pc);
    if (pc == static_cast<uint32_t>(kEsc)) {
      p += n;
      uint32_t cl = 0;
      const size_t m = Decode(p, ec + 1, cl);
      if (MatchPatternClass(c, cl, codec == TPatternCodec::kBytes)) return sig;
      p += m;
      continue;
    }
    const char* after = p + n;
    if (after < ec && *after == '-' && after + 1 < ec) {
      uint32_t hi = 0;
      const size_t m = Decode(after + 1, ec, hi);
      if (pc <= c && c <= hi) return sig;
      p = after + 1 + m;
      continue;
    }
    if (pc == c) return sig;
    p = after;
  }
  return !sig;
}

bool TLuaPatternMatcher::SingleMatch(const char* s, const char* p, const char* ep) const {
  if (s >= srcEnd) return false;
  uint32_t c = 0;
  Decode(s, srcEnd, c);
  switch (*p) {
    case '.': return true;
    case kEsc: {
      uint32_t cl = 0;
      Decode(p + 1, pEnd, cl);
      return MatchPatternClass(c, cl, codec == TPatternCodec::kBytes);
    }
    case '[': return MatchBracket(c, p, ep - 1);
    default: {
      uint32_t pc = 0;
      Decode(p, pEnd, pc);
      return pc == c;
    }
  }
}

const char* TLuaPatternMatcher::MatchBalance(const char* s, const char* p) {
  if (p >= pEnd) luaL_error(L, "malformed pattern (missing arguments to '%%b')");
  uint32_t open = 0;
  uint32_t close = 0;
  const char* second = p + Decode(p, pEnd, open);
  if (second >= pEnd) luaL_error(L, "malformed pattern (missing arguments to '%%b')");
  Decode(second, pEnd, close);
  if (s >= srcEnd || CodeAt(s) != open) return nullptr;
  int count = 1;
  for (s = NextChar(s); s < srcEnd; s = NextChar(s)) {
    budget.Step();
    const uint32_t c = CodeAt(s);
    if (c == close) {
      if (--count == 0) return NextChar(s);
    } else if (c == open) {
      ++count;
    }
  }
  return nullptr;
}

const char* TLuaPatternMatcher::MaxExpand(const char* s, const char* p, const char* ep) {
  const char* last = s;
  while (SingleMatch(last, p, ep)) {
    budget.Step();
    last = NextChar(last);
  }
  // Try the longest run first, then shorter ones.
  for (;;) {
    budget.Step();
    if (const char* res = Match(last, ep + 1)) return res;
    if (last == s) return nullptr;
    last = Prev(s, last);
  }
}

const char* TLuaPatternMatcher::MinExpand(const char* s, const char* p, const char* ep) {
  for (;;) {
    budget.Step();
    if (const char* res = Match(s, ep + 1)) return res;
    if (!SingleMatch(s, p, ep)) return nullptr;
    s = NextChar(s);
  }
}

const char* TLuaPatternMatcher::StartCapture(const char* s, const char* p, ptrdiff_t what) {
  if (level >= kMaxCaptures) luaL_error(L, "too many captures");
  capture[level].init = s;
  capture[level].len = what;
  ++level;
  const char* res = Match(s, p);
  if (res == nullptr) --level;
  return res;
}

int TLuaPatternMatcher::CaptureToClose() {
  for (int l = level - 1; l >= 0; --l) {
    if (capture[l].len == kUnfinished) return l;
  }
  return luaL_error(L, "invalid pattern capture");
}

const char* TLuaPatternMatcher::EndCapture(const char* s, const char* p) {
  const int l = CaptureToClose();
  capture[l].len = s - capture[l].init;
  const char* res = Match(s, p);
  if (res == nullptr) capture[l].len = kUnfinished;
  return res;
}

int TLuaPatternMatcher::CheckCapture(uint32_t l) {
  const int i = static_cast<int>(l) - '1';
  if (i < 0 || i >= level || capture[i].len == kUnfinished)
    return luaL_error(L, "invalid capture index %%%d", i + 1);
  return i;
}

const char* TLuaPatternMatcher::MatchCapture(const char* s, uint32_t l) {
  const int i = CheckCapture(l);
  const ptrdiff_t len = capture[i].len;
  // A position capture has no text, so a reference to it never matches.
  if (len < 0) return nullptr;
  budget.Steps(static_cast<size_t>(len));
  if (srcEnd - s >= len && std::memcmp(capture[i].init, s, static_cast<size_t>(len)) == 0)
    return s + len;
  return nullptr;
}

const char* TLuaPatternMatcher::Match(const char* s, const char* p) {
  if (depth-- == 0) luaL_error(L, "pattern too complex");
  for (;;) {
    budget.Step();
    if (p == pEnd) break;
    if (*p == '(') {
      if (p + 1 < pEnd && p[1] == ')')
        s = StartCapture(s, p + 2, kPosition);
      else
        s = StartCapture(s, p + 1, kUnfinished);
      break;
    }
    if (*p == ')') {
      s = EndCapture(s, p + 1);
      break;
    }
    if (*p == '$' && p + 1 == pEnd) {
      if (s != srcEnd) s = nullptr;
      break;
    }
    if (*p == kEsc && p + 1 < pEnd) {
      const char op = p[1];
      if (op == 'b') {
        s = MatchBalance(s, p + 2);
        if (s == nullptr) break;
        uint32_t c = 0;
        const char* q = p + 2;
        q += Decode(q, pEnd, c);
        q += Decode(q, pEnd, c);
        p = q;
        continue;
      }
      if (op == 'f') {
        p += 2;
        if (p >= pEnd || *p != '[') luaL_error(L, "missing '[' after '%%f' in pattern");
        const char* ep = ClassEnd(p);
        const uint32_t previous = s == srcInit ? 0 : CodeAt(Prev(srcInit, s));
        const uint32_t current = CodeAt(s);
        if (!MatchBracket(previous, p, ep - 1) && MatchBracket(current, p, ep - 1)) {
          p = ep;
          continue;
        }
        s = nullptr;
        break;
      }
      if (op >= '0' && op <= '9') {
        s = MatchCapture(s, static_cast<unsigned char>(op));
        if (s == nullptr) break;
        p += 2;
        continue;
      }
    }
    // A single character class, possibly followed by a repetition.
    const char* ep = ClassEnd(p);
    const char rep = ep < pEnd ? *ep : '\0';
    if (rep == '?') {
      if (SingleMatch(s, p, ep)) {
        if (const char* res = Match(NextChar(s), ep + 1)) {
          s = res;
          break;
        }
      }
      p = ep + 1;
      continue;
    }
    if (rep == '+') {
      s = SingleMatch(s, p, ep) ? MaxExpand(NextChar(s), p, ep) : nullptr;
      break;
    }
    if (rep == '*') {
      s = MaxExpand(s, p, ep);
      break;
    }
    if (rep == '-') {
      s = MinExpand(s, p, ep);
      break;
    }
    if (!SingleMatch(s, p, ep)) {
      s = nullptr;
      break;
    }
    s = NextChar(s);
    p = ep;
  }
  ++depth;
  return s;
}

void TLuaPatternMatcher::PushCapture(int i, const char* s, const char* e) {
  if (i >= level) {
    if (i != 0) luaL_error(L, "invalid capture index");
    lua_pushlstring(L, s, static_cast<size_t>(e - s));
    return;
  }
  const ptrdiff_t len = capture[i].len;
  if (len == kUnfinished) luaL_error(L, "unfinished capture");
  if (len == kPosition)
    lua_pushinteger(L, PositionOf(capture[i].init));
  else
    lua_pushlstring(L, capture[i].init, static_cast<size_t>(len));
}

int TLuaPatternMatcher::PushCaptures(const char* s, const char* e, bool wholeIfNone) {
  const int n = (level == 0 && s != nullptr && wholeIfNone) ? 1 : level;
  luaL_checkstack(L, n, "too many captures");
  for (int i = 0; i < n; ++i) PushCapture(i, s, e);
  return n;
}

}  // namespace kvt
