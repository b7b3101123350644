#include "scripting/ntnidx_object.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "notation/files/text/score_text_tokenizer.h"
#include "notation/files/text/score_text_writer.h"
#include "notation/index/simple_ntn_idx.h"
#include "notation/items/music_note.h"
#include "notation/items/name_lists.h"
#include "notation/items/notated_item.h"
#include "notation/items/song_note.h"
#include "notation/items/user_object.h"
#include "notation/staff/music_staff.h"
#include "scripting/kvt_module.h"
#include "scripting/lua_interpreter.h"
#include "scripting/script_numbers.h"

namespace kvt {

namespace {

struct TNtnIdxObject {
  TSimpleNtnIdx index;
  uint64_t serial = 0;
};

TNtnIdxObject& CheckObject(lua_State* L, int arg) {
  auto* object = static_cast<TNtnIdxObject*>(luaL_checkudata(L, arg, kNtnIdxMetatable));
  return *object;
}

// The call's context for a method; the object brought back to the call's item when it was
// last used in another call.
const TLuaRunContext& ObjectContext(lua_State* L, TNtnIdxObject& object) {
  const TLuaRunContext& context = TKVTLuaInterpreter::CurrentContext(L);
  const int kind = static_cast<int>(context.kind);
  if (kind < 1 || kind > 6 || context.index == nullptr || context.index->GetStaff() == nullptr)
    luaL_error(L, "Invalid user object context");
  if (object.serial != context.serial) {
    object.index = *context.index;
    object.serial = context.serial;
  }
  return context;
}

// The object at arg 1 ready for use, and its item (may be null for an empty staff).
struct TMethod {
  TNtnIdxObject& object;
  const TLuaRunContext& context;
  TNotatedItem* item() const { return object.index.GetItem(); }
  int base() const { return context.index->GetIndex(); }
};

TMethod Begin(lua_State* L) {
  TNtnIdxObject& object = CheckObject(L, 1);
  const TLuaRunContext& context = ObjectContext(L, object);
  return {object, context};
}

int PushNil(lua_State* L) {
  lua_pushnil(L);
  return 1;
}

void PushStringView(lua_State* L, std::string_view text) {
  lua_pushlstring(L, text.data(), text.size());
}

int New(lua_State* L) {
  const TLuaRunContext& context = TKVTLuaInterpreter::CurrentContext(L);
  if (context.kind != TLuaRunKind::kInit) return luaL_error(L, "not allowed here");
  PushNtnIdxObject(L);
  return 1;
}

int Reset(lua_State* L) {
  TMethod m = Begin(L);
  m.object.index = *m.context.index;
  return 0;
}

// The type codes named by the arguments from `first` on.
std::vector<int> CheckTypeNames(lua_State* L, int first) {
  std::vector<int> types;
  const int top = lua_gettop(L);
  if (top - first + 1 > kMaxFindTypeNames)
    luaL_error(L, "too many type names (at most %d)", kMaxFindTypeNames);
  for (int i = first; i <= top; ++i) {
    const char* name = luaL_checkstring(L, i);
    const int type = FindNameListEntry(kNameListItemKinds, name, false, -1);
    if (type < 0 || type >= kItemTypeCount) luaL_error(L, "Invalid type name '%s'", name);
    types.push_back(type);
  }
  return types;
}

// Searches from the index's item in direction dir; the index moves to the match.
bool FindWhat(lua_State* L, TSimpleNtnIdx& index, int dir, const char* what) {
  const std::string_view w = what;
  if (w == "user") {
    const char* type = luaL_optstring(L, 4, nullptr);
    const char* property = luaL_optstring(L, 5, nullptr);
    return index.FindUserObject(dir, type, property);
  }
  if (w == "duration") return index.FindNonGraceDurationItem(dir);
  if (w == "note") return index.FindItemWithNotes(dir);
  if (w == "noteOrRest") return index.FindSongNote(dir);
  if (w == "clef") return index.FindType(kItemClef, dir);
  if (w == "key") return index.FindType(kItemKey, dir);
  if (w == "timesig") return index.FindType(kItemTimeSig, dir);
  if (w == "dynamic") return index.FindType(kItemDynamic, dir);
  if (w == "bar") return index.FindType(kItemBarLine, dir);
  if (w == "noteAt") {
    const int64_t position = CheckScriptIntegerIn(L, 4, -128, 127, "staff position out of range");
    return index.FindNoteWithMemberAt(static_cast<int>(-position), dir);
  }
  if (w == "objType") {
    const std::vector<int> types = CheckTypeNames(L, 4);
    if (types.empty()) return index.Step(dir);
    while (index.CanMove(dir)) {
      if (!index.Step(dir) || index.GetItem() == nullptr) return false;
      for (int type : types) {
        if (index.GetItem()->GetType() == type) return true;
      }
    }
    return false;
  }
  return luaL_error(L, "Invalid find type '%s'", what);
}

int Find(lua_State* L) {
  TMethod m = Begin(L);
  const char* where = luaL_checkstring(L, 2);
  const std::string_view w = where;
  TSimpleNtnIdx search = m.object.index;
  int dir = 1;
  if (w == "next") {
    dir = 1;
  } else if (w == "prior") {
    dir = -1;
  } else if (w == "first") {
    search.SetIndex(0);
  } else if (w == "last") {
    search.GoLast();
    dir = -1;
  } else {
    return luaL_error(L, "Invalid action '%s'", where);
  }
  bool found = false;
  if (lua_isnoneornil(L, 3)) {
    found = (w == "first" || w == "last") ? search.GetItem() != nullptr : search.Step(dir);
  } else {
    found = FindWhat(L, search, dir, luaL_checkstring(L, 3));
  }
  if (found) m.object.index = search;
  lua_pushboolean(L, found);
  return 1;
}

// Item offset of a comparison operand: an object's offset, or a number.
int64_t Operand(lua_State* L, int arg, const TLuaRunContext*& context) {
  if (lua_type(L, arg) == LUA_TNUMBER) return CheckScriptInteger(L, arg);
  TNtnIdxObject& object = CheckObject(L, arg);
  context = &ObjectContext(L, object);
  return object.index.GetIndex() - context->index->GetIndex();
}

template <typename Compare>
int CompareObjects(lua_State* L, Compare compare) {
  const TLuaRunContext* context = nullptr;
  const int64_t a = Operand(L, 1, context);
  const int64_t b = Operand(L, 2, context);
  lua_pushboolean(L, compare(a, b));
  return 1;
}

int Eq(lua_State* L) { return CompareObjects(L, [](int64_t a, int64_t b) { return a == b; }); }
int Lt(lua_State* L) { return CompareObjects(L, [](int64_t a, int64_t b) { return a < b; }); }
int Le(lua_State* L) { return CompareObjects(L, [](int64_t a, int64_t b) { return a <= b; }); }

int IndexOffset(lua_State* L) {
  TMethod m = Begin(L);
  lua_pushinteger(L, m.object.index.GetIndex() - m.base());
  return 1;
}

int ObjType(lua_State* L) {
  TMethod m = Begin(L);
  if (m.item() == nullptr) return PushNil(L);
  lua_pushstring(L, GetNameListEntry(kNameListItemKinds, m.item()->GetType()));
  return 1;
}

// The item's fields as the clip format writes them, whole: name and unquoted value.
std::vector<std::pair<std::string, std::string>> ItemFields(const TNotatedItem& item) {
  std::string line = FormatItemLine(item, kTextModeScore);
  TKVTTextImportTokenizer tokenizer;
  const int count = tokenizer.SplitFields(line.data(), line.size());
  std::vector<std::pair<std::string, std::string>> fields;
  // Field 0 is the record name; a user object's type name follows it.
  const int first = item.GetType() == kItemUserObject ? 2 : 1;
  for (int i = first; i < count; ++i) {
    char* field = tokenizer.GetField(i);
    char* colon = std::strchr(field, ':');
    if (colon == nullptr) {
      fields.emplace_back(field, std::string());
      continue;
    }
    *colon = '\0';
    fields.emplace_back(field, TKVTTextImportTokenizer::Unquote(colon + 1));
  }
  return fields;
}

int ObjProp(lua_State* L) {
  TMethod m = Begin(L);
  const char* name = luaL_checkstring(L, 2);
  if (m.item() != nullptr) {
    for (const auto& [field, value] : ItemFields(*m.item())) {
      if (field == name) {
        PushStringView(L, value);
        return 1;
      }
    }
  }
  lua_pushnil(L);
  return 1;
}

int PropTable(lua_State* L) {
  TMethod m = Begin(L);
  lua_newtable(L);
  if (m.item() != nullptr) {
    for (const auto& [field, value] : ItemFields(*m.item())) {
      PushStringView(L, value);
      lua_setfield(L, -2, field.c_str());
    }
  }
  return 1;
}

TKVTUserObject* UserObject(const TMethod& m) { return m.object.index.GetUserObject(); }

int UserType(lua_State* L) {
  TMethod m = Begin(L);
  if (TKVTUserObject* object = UserObject(m)) {
    PushStringView(L, object->GetTypeName());
    return 1;
  }
  lua_pushnil(L);
  return 1;
}

int UserProp(lua_State* L) {
  TMethod m = Begin(L);
  const char* name = luaL_checkstring(L, 2);
  const TKVTUserObject* object = UserObject(m);
  const std::string* value = object != nullptr ? object->FindParamValue(name) : nullptr;
  if (value == nullptr)
    lua_pushnil(L);
  else
    PushStringView(L, *value);
  return 1;
}

int StaffPos(lua_State* L) {
  TMethod m = Begin(L);
  // Upward positive; + 0.0 keeps a position of 0 from showing as -0.
  lua_pushnumber(L, -static_cast<lua_Number>(m.object.index.GetItemPos()) + 0.0);
  return 1;
}

int SppOffset(lua_State* L) {
  TMethod m = Begin(L);
  const int from = m.base();
  const int to = m.object.index.GetIndex();
  const TMusicStaff* staff = m.object.index.GetStaff();
  int64_t ticks = 0;
  for (int i = std::min(from, to); i < std::max(from, to); ++i) {
    if (const TNotatedItem* item = staff->GetItem(i)) ticks += item->GetDuration();
  }
  lua_pushinteger(L, static_cast<lua_Integer>(to < from ? -ticks : ticks));
  return 1;
}

int NoteCount(lua_State* L) {
  TMethod m = Begin(L);
  lua_pushinteger(L, m.item() != nullptr ? m.item()->GetMemberCount() : 0);
  return 1;
}

// Member n (1-based, at arg) of the item; null when there is none.
TMusicNote* CheckMember(lua_State* L, const TMethod& m, int arg) {
  const int64_t n = CheckScriptInteger(L, arg);
  if (m.item() == nullptr || n < 1 || n > m.item()->GetMemberCount()) return nullptr;
  return m.item()->GetMember(static_cast<int>(n - 1));
}

int NotePos(lua_State* L) {
  TMethod m = Begin(L);
  const TMusicNote* note = CheckMember(L, m, 2);
  if (note == nullptr) return PushNil(L);
  lua_pushnumber(L, static_cast<lua_Number>(m.context.index->GetItemPos()) -
                        static_cast<lua_Number>(note->GetStaffPos()));
  return 1;
}

int NotePitchPos(lua_State* L) {
  TMethod m = Begin(L);
  const int64_t n = CheckScriptInteger(L, 2);
  if (m.item() == nullptr || !m.item()->HasNotes()) return PushNil(L);
  // The note positions as the score text writes them: Pos, then Pos2 of a split voice.
  std::vector<std::string> positions;
  for (const auto& [field, value] : ItemFields(*m.item())) {
    if (field != "Pos" && field != "Pos2") continue;
    size_t start = 0;
    while (start <= value.size()) {
      const size_t comma = value.find(',', start);
      positions.push_back(value.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
      if (comma == std::string::npos) break;
      start = comma + 1;
    }
  }
  if (n < 1 || n > static_cast<int64_t>(positions.size())) return PushNil(L);
  PushStringView(L, positions[static_cast<size_t>(n - 1)]);
  return 1;
}

const TSongNote* SongNote(const TMethod& m) { return m.object.index.GetSongNote(); }

int DurationBase(lua_State* L) {
  TMethod m = Begin(L);
  const TSongNote* note = SongNote(m);
  if (note == nullptr) return PushNil(L);
  lua_pushstring(L, GetNameListEntry(kNameListDurationsText, note->GetDurationCode()));
  return 1;
}

int NoteDurBase(lua_State* L) {
  TMethod m = Begin(L);
  const TSongNote* note = SongNote(m);
  if (note == nullptr) return PushNil(L);
  lua_pushstring(L, GetNameListEntry(kNameListDurationsLong, note->GetDurationCode()));
  return 1;
}

int StemDir(lua_State* L) {
  TMethod m = Begin(L);
  const TMusicNote* note = m.object.index.GetNoteOrChord();
  if (note == nullptr) return PushNil(L);
  lua_pushinteger(L, note->GetStemDir());
  return 1;
}

int ArticulationCount(lua_State* L) {
  TMethod m = Begin(L);
  const TSongNote* note = SongNote(m);
  lua_pushinteger(L, note != nullptr ? note->GetArticulationCount() : 0);
  return 1;
}

// The note a flag method asks about: note n when a number is given, else the item's own song
// note; null (the method gives nil) when the item has no notes.
const TSongNote* FlagNote(lua_State* L, const TMethod& m) {
  if (m.item() == nullptr || !m.item()->HasNotes()) return nullptr;
  if (!lua_isnoneornil(L, 2)) return CheckMember(L, m, 2);
  return SongNote(m);
}

void PushGroupState(lua_State* L, int state) {
  static const char* const kStates[] = {"First", "Middle", "End"};
  if (state >= 1 && state <= 3)
    lua_pushstring(L, kStates[state - 1]);
  else
    lua_pushboolean(L, 0);
}

template <typename Flag>
int NoteFlag(lua_State* L, Flag flag) {
  TMethod m = Begin(L);
  const TSongNote* note = FlagNote(L, m);
  if (note == nullptr) {
    lua_pushnil(L);
    return 1;
  }
  flag(L, *note, m);
  return 1;
}

#define KVT_BOOL_FLAG(name, expression)                                                 \
  int name(lua_State* L) {                                                              \
    return NoteFlag(L, [](lua_State* L, const TSongNote& note, const TMethod& m) {      \
      (void)m;                                                                          \
      lua_pushboolean(L, (expression));                                                 \
    });                                                                                 \
  }

KVT_BOOL_FLAG(IsLyricPos, note.TakesLyric())
KVT_BOOL_FLAG(IsMelisma, note.IsMelisma())
KVT_BOOL_FLAG(IsGrace, note.IsGrace())
KVT_BOOL_FLAG(IsSlurIn, note.IsSlurIn())
KVT_BOOL_FLAG(IsSlurOut, note.IsSlurOut())
KVT_BOOL_FLAG(IsTieIn, note.IsTieIn())
KVT_BOOL_FLAG(IsTieOut, note.IsTieOut())
KVT_BOOL_FLAG(IsCresc, note.HasNoteFlag(kFlagCrescendo))
KVT_BOOL_FLAG(IsDecresc, note.HasNoteFlag(kFlagDiminuendo))
KVT_BOOL_FLAG(IsAccented, note.HasNoteFlag(kFlagAccent))
KVT_BOOL_FLAG(IsMarcato, note.HasNoteFlag(kFlagMarcato))
KVT_BOOL_FLAG(IsStaccatissimo, note.HasNoteFlag(kFlagStaccatissimo))
KVT_BOOL_FLAG(IsStaccato, note.HasNoteFlag(kFlagStaccato))
KVT_BOOL_FLAG(IsTenuto, note.HasNoteFlag(kFlagTenuto))
KVT_BOOL_FLAG(IsSplitVoice, m.item()->GetType() != kItemNote && SongNote(m) != nullptr &&
                                SongNote(m)->HasSplitStem())
#undef KVT_BOOL_FLAG

int IsMute(lua_State* L) {
  return NoteFlag(L, [](lua_State* L, const TSongNote& note, const TMethod&) {
    const auto* music = dynamic_cast<const TMusicNote*>(&note);
    lua_pushboolean(L, music != nullptr && music->IsMuted());
  });
}

int IsTriplet(lua_State* L) {
  return NoteFlag(L, [](lua_State* L, const TSongNote& note, const TMethod&) {
    PushGroupState(L, note.GetTripletState());
  });
}

int IsBeamed(lua_State* L) {
  return NoteFlag(L, [](lua_State* L, const TSongNote& note, const TMethod&) {
    PushGroupState(L, note.GetBeamState());
  });
}

int IsDotted(lua_State* L) {
  return NoteFlag(L, [](lua_State* L, const TSongNote& note, const TMethod&) {
    if (note.IsDblDotted())
      lua_pushinteger(L, 2);
    else if (note.IsDotted())
      lua_pushinteger(L, 1);
    else
      lua_pushboolean(L, 0);
  });
}

// Host userdata may be collected more than once in a broken finalizer chain; the second run
// must find nothing to destroy.
int Collect(lua_State* L) {
  auto* object = static_cast<TNtnIdxObject*>(luaL_testudata(L, 1, kNtnIdxMetatable));
  if (object == nullptr) return 0;
  object->~TNtnIdxObject();
  new (object) TNtnIdxObject();
  return 0;
}

}  // namespace

void RegisterKvtMetatables(lua_State* L) {
  if (!luaL_newmetatable(L, kNtnIdxMetatable)) {
    lua_pop(L, 1);
    return;
  }
  const luaL_Reg methods[] = {{"new", New},
                              {"reset", Reset},
                              {"find", Find},
                              {"indexOffset", IndexOffset},
                              {"objType", ObjType},
                              {"objProp", ObjProp},
                              {"propTable", PropTable},
                              {"userType", UserType},
                              {"userProp", UserProp},
                              {"staffPos", StaffPos},
                              {"sppOffset", SppOffset},
                              {"noteCount", NoteCount},
                              {"notePos", NotePos},
                              {"notePitchPos", NotePitchPos},
                              {"durationBase", DurationBase},
                              {"noteDurBase", NoteDurBase},
                              {"stemDir", StemDir},
                              {"articulationCount", ArticulationCount},
                              {"isLyricPos", IsLyricPos},
                              {"isMelisma", IsMelisma},
                              {"isGrace", IsGrace},
                              {"isMute", IsMute},
                              {"isTriplet", IsTriplet},
                              {"isBeamed", IsBeamed},
                              {"isSlurIn", IsSlurIn},
                              {"isSlurOut", IsSlurOut},
                              {"isDotted", IsDotted},
                              {"isTieIn", IsTieIn},
                              {"isTieOut", IsTieOut},
                              {"isCresc", IsCresc},
                              {"isDecresc", IsDecresc},
                              {"isAccented", IsAccented},
                              {"isMarcato", IsMarcato},
                              {"isStaccatissimo", IsStaccatissimo},
                              {"isStaccato", IsStaccato},
                              {"isTenuto", IsTenuto},
                              {"isSplitVoice", IsSplitVoice},
                              {nullptr, nullptr}};
  luaL_newlib(L, methods);
  lua_setfield(L, -2, "__index");
  const luaL_Reg metamethods[] = {
      {"__eq", Eq}, {"__lt", Lt}, {"__le", Le}, {"__gc", Collect}, {nullptr, nullptr}};
  luaL_setfuncs(L, metamethods, 0);
  lua_pushstring(L, kNtnIdxMetatable);
  lua_setfield(L, -2, "__metatable");
  lua_pop(L, 1);
}

void PushNtnIdxObject(lua_State* L) {
  void* block = lua_newuserdata(L, sizeof(TNtnIdxObject));
  new (block) TNtnIdxObject();
  luaL_setmetatable(L, kNtnIdxMetatable);
}

}  // namespace kvt
