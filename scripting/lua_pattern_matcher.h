#pragma once
// TLuaPatternMatcher: Lua's pattern language (classes, sets, the four repetitions, captures,
// position captures, back references, %b and %f, anchors) over a subject string, written so
// that it can be stopped: it counts its steps and checks the script's deadline, and it bounds
// its recursion ("pattern too complex") and its captures. It raises the same errors as Lua's
// own matcher.
//
// Two codecs: bytes (string.find and friends, positions in bytes) and UTF-8 characters
// (utf8string, positions in characters; a bad byte is one character, utf8_decode.h).

#include <cstddef>
#include <cstdint>

#include <lua.hpp>

#include "scripting/lua_state_limits.h"

namespace kvt {

enum class TPatternCodec { kBytes, kUtf8 };

class TLuaPatternMatcher {
public:
  static constexpr int kMaxCaptures = 32;
  static constexpr int kMaxDepth = 200;

  // The subject and pattern must stay alive (on the Lua stack) while the matcher is used.
  TLuaPatternMatcher(lua_State* L, TPatternCodec codec, const char* subject, size_t subjectLength,
                     const char* pattern, size_t patternLength);

  // Before each match attempt: no captures, full recursion budget.
  void Prepare();
  // The end of the match of pattern text p.. at subject position s, or null.
  const char* Match(const char* s, const char* p);

  // Pushes the captures of the match s..e (the whole match when there are none and
  // wholeIfNone); returns how many. With s null only the captures are pushed.
  int PushCaptures(const char* s, const char* e, bool wholeIfNone);
  // Pushes capture i (capture 0 is the whole match when the pattern has no captures).
  void PushCapture(int i, const char* s, const char* e);

  // 1-based position of p in the codec's units.
  lua_Integer PositionOf(const char* p) const;
  // The character after s (s < end of subject).
  const char* NextChar(const char* s) const;
  // The code of the character at s; 0 at the end of the subject.
  uint32_t CodeAt(const char* s) const;
  TScriptStepBudget& Budget() { return budget; }

  const char* SubjectBegin() const { return srcInit; }
  const char* SubjectEnd() const { return srcEnd; }
  const char* PatternEnd() const { return pEnd; }

private:
  static constexpr ptrdiff_t kUnfinished = -1;
  static constexpr ptrdiff_t kPosition = -2;

  struct TCapture {
    const char* init;
    ptrdiff_t len;
  };

  size_t Decode(const char* p, const char* end, uint32_t& code) const;
  const char* Prev(const char* start, const char* p) const;
  const char* ClassEnd(const char* p);
  bool SingleMatch(const char* s, const char* p, const char* ep) const;
  bool MatchBracket(uint32_t c, const char* p, const char* ec) const;
  const char* MatchBalance(const char* s, const char* p);
  const char* MaxExpand(const char* s, const char* p, const char* ep);
  const char* MinExpand(const char* s, const char* p, const char* ep);
  const char* StartCapture(const char* s, const char* p, ptrdiff_t what);
  const char* EndCapture(const char* s, const char* p);
  const char* MatchCapture(const char* s, uint32_t l);
  int CaptureToClose();
  int CheckCapture(uint32_t l);

  lua_State* L;
  TPatternCodec codec;
  const char* srcInit;
  const char* srcEnd;
  const char* pEnd;
  int level = 0;
  int depth = kMaxDepth;
  TCapture capture[kMaxCaptures];
  TScriptStepBudget budget;
};

}  // namespace kvt
