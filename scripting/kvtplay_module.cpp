// kvtplay: what a user object reads and adds while the score is compiled for playback. The
// getters need a play walk (kinds 4 and 5): "Invalid kvtplay audit context"; note and midi
// add events (kind 5 only): "Invalid kvtplay context". Every number is range-checked before it
// is converted.

#include <string_view>

#include "midi/events/midi_file_buf.h"
#include "midi/events/midi_msg.h"
#include "notation/context/staff_context_state.h"
#include "notation/index/simple_ntn_idx.h"
#include "notation/items/music_note.h"
#include "notation/items/name_lists.h"
#include "notation/items/song_note.h"
#include "notation/staff/staff_utils.h"
#include "scripting/kvt_module.h"
#include "scripting/lua_interpreter.h"
#include "scripting/script_name_lists.h"
#include "scripting/script_numbers.h"
#include "utils/text_encoding.h"

namespace kvt {

namespace {

constexpr int kPpq = 192;
constexpr int kMaxScriptTicks = 6144;
constexpr int kCommandNoteOff = 0;
constexpr int kCommandNoteOn = 1;

TStaffContextState& PlayState(lua_State* L) {
  const TLuaRunContext& context = TKVTLuaInterpreter::CurrentContext(L);
  const bool playing = context.kind == TLuaRunKind::kVPlay || context.kind == TLuaRunKind::kPlay;
  if (!playing || context.playState == nullptr) luaL_error(L, "Invalid kvtplay audit context");
  return *context.playState;
}

const TLuaRunContext& EventContext(lua_State* L) {
  const TLuaRunContext& context = TKVTLuaInterpreter::CurrentContext(L);
  if (context.kind != TLuaRunKind::kPlay || context.playState == nullptr || context.events == nullptr)
    luaL_error(L, "Invalid kvtplay context");
  return context;
}

int GetClef(lua_State* L) {
  static const char* const kClefs[] = {"Treble", "Bass", "Alto", "Tenor", "Percussion"};
  const int clef = PlayState(L).GetClef();
  lua_pushstring(L, clef >= 0 && clef <= 4 ? kClefs[clef] : kClefs[0]);
  return 1;
}

int GetPerfStyle(lua_State* L) {
  const int style = PlayState(L).GetPerfStyle();
  if (style == kPerfStyleNone || style < 0 || style >= GetNameListSize(kNameListPerformanceStylesDisplay)) {
    lua_pushnil(L);
    return 1;
  }
  const std::string name = Utf16ToUtf8(
      MultiByteToUtf16(1252, GetNameListEntry(kNameListPerformanceStylesDisplay, style)));
  lua_pushlstring(L, name.data(), name.size());
  return 1;
}

// An accidental letter of a note position, or kAccNone.
int AccidentalOf(char c) {
  switch (c) {
    case '#': return kAccSharp;
    case 'b': return kAccFlat;
    case 'n': return kAccNatural;
    case 'x': return kAccDoubleSharp;
    case 'v': return kAccDoubleFlat;
  }
  return kAccNone;
}

int GetNoteNumber(lua_State* L) {
  TStaffContextState& state = PlayState(L);
  const TLuaRunContext& context = TKVTLuaInterpreter::CurrentContext(L);
  int accidental = kAccNone;
  int64_t relative = 0;
  if (lua_type(L, 1) == LUA_TSTRING) {
    // A note-position text: optional accidental, then the signed position.
    std::string_view text = lua_tostring(L, 1);
    if (!text.empty() && AccidentalOf(text.front()) != kAccNone) {
      accidental = AccidentalOf(text.front());
      text.remove_prefix(1);
    }
    lua_pushlstring(L, text.data(), text.size());
    if (!lua_isnumber(L, -1)) {
      // Only the leading number counts ("-3^" is position -3).
      size_t n = 0;
      while (n < text.size() && (text[n] == '-' || text[n] == '+' || (text[n] >= '0' && text[n] <= '9'))) ++n;
      lua_pop(L, 1);
      lua_pushlstring(L, text.data(), n);
      if (!lua_isnumber(L, -1)) return luaL_argerror(L, 1, "note position expected");
    }
    relative = CheckScriptIntegerIn(L, -1, -128, 127, "note position out of range");
    lua_pop(L, 1);
  } else if (!lua_isnoneornil(L, 1)) {
    relative = CheckScriptIntegerIn(L, 1, -128, 127, "note position out of range");
  }
  const int objectPos = context.index != nullptr ? static_cast<int>(context.index->GetItemPos()) : 0;
  const int position = static_cast<int>(objectPos - relative);
  if (position < -128 || position > 127) return luaL_error(L, "note position out of range");
  const TMusicNote note(position, kDurQuarter, 0, accidental);
  lua_pushinteger(L, note.GetPitch(state));
  return 1;
}

int GetTransposition(lua_State* L) {
  const TStaffContextState& state = PlayState(L);
  const int shift = state.GetClefOctaveShift();
  lua_pushinteger(L, state.GetTransposition() + (shift == 1 ? 12 : shift == 2 ? -12 : 0));
  return 1;
}

int GetTimeSig(lua_State* L) {
  const TStaffContextState& state = PlayState(L);
  lua_pushinteger(L, state.GetTimeSigBeats());
  lua_pushinteger(L, state.GetBeatValue());
  return 2;
}

int GetBarLength(lua_State* L) {
  lua_pushinteger(L, PlayState(L).GetBarLength());
  return 1;
}

int CalcDurLength(lua_State* L) {
  const char* name = luaL_checkstring(L, 1);
  int code = FindNameListEntry(kNameListDurationsText, name, false, -1);
  if (code < 0) code = FindNameListEntry(kNameListDurationsLong, name, false, -1);
  if (code < 0) {
    lua_pushnil(L);
    return 1;
  }
  lua_pushinteger(L, GetDurationTicks(code));
  return 1;
}

int GetPort(lua_State* L) {
  lua_pushinteger(L, PlayState(L).GetPort());
  return 1;
}

int GetChannel(lua_State* L) {
  lua_pushinteger(L, PlayState(L).GetChannel());
  return 1;
}

int GetNoteVelocity(lua_State* L) {
  lua_pushinteger(L, PlayState(L).GetNoteVelocity());
  return 1;
}

// The absolute tick of an offset argument.
uint32_t CheckEventTime(lua_State* L, const TLuaRunContext& context, int arg) {
  const int64_t offset =
      CheckScriptIntegerIn(L, arg, -kMaxScriptTicks, kMaxScriptTicks, "song position out of range");
  const int64_t time = context.playState->GetSongPosition() + offset;
  if (time < 0) luaL_error(L, "song position out of range");
  return static_cast<uint32_t>(time);
}

void AddChannelEvent(const TLuaRunContext& context, uint32_t time, int command, int data1, int data2) {
  const TStaffContextState& state = *context.playState;
  context.events->AddEvent(time, TMidiMsg::Channel(command, state.GetPort(), state.GetChannel(), data1, data2));
}

int Note(lua_State* L) {
  const TLuaRunContext& context = EventContext(L);
  const uint32_t time = CheckEventTime(L, context, 1);
  const auto duration = static_cast<uint32_t>(
      CheckScriptIntegerIn(L, 2, 1, kMaxScriptTicks, "note duration out of range"));
  const int note = static_cast<int>(CheckScriptIntegerIn(L, 3, 0, 127, "note out of range"));
  const int velocity = lua_isnoneornil(L, 4)
                           ? context.playState->GetNoteVelocity()
                           : static_cast<int>(CheckScriptIntegerIn(L, 4, 0, 127, "velocity out of range"));
  if (context.muted) return 0;
  AddChannelEvent(context, time, kCommandNoteOn, note, velocity);
  AddChannelEvent(context, time + duration, kCommandNoteOff, note, 0);
  return 0;
}

int Midi(lua_State* L) {
  const TLuaRunContext& context = EventContext(L);
  const uint32_t time = CheckEventTime(L, context, 1);
  int command = -1;
  if (lua_type(L, 2) == LUA_TSTRING) {
    const std::string_view name = lua_tostring(L, 2);
    const char* const* names = GetPlayMidiCommandNames();
    for (int i = 0; names[i] != nullptr; ++i) {
      if (name == names[i]) command = i;
    }
    if (command < 0) return luaL_error(L, "MIDI command out of range");
  } else {
    command = static_cast<int>(CheckScriptIntegerIn(L, 2, 0, 6, "MIDI command out of range"));
  }
  const int data1 = static_cast<int>(CheckScriptIntegerIn(L, 3, 0, 127, "MIDI data1 out of range"));
  int data2 = 0;
  if (!lua_isnoneornil(L, 4))
    data2 = static_cast<int>(CheckScriptIntegerIn(L, 4, 0, 127, "MIDI data2 out of range"));
  if (context.muted && (command == kCommandNoteOn || command == kCommandNoteOff)) return 0;
  AddChannelEvent(context, time, command, data1, data2);
  return 0;
}

}  // namespace

int OpenKvtPlayModule(lua_State* L) {
  const luaL_Reg functions[] = {{"getClef", GetClef},
                                {"getPerfStyle", GetPerfStyle},
                                {"getNoteNumber", GetNoteNumber},
                                {"getTransposition", GetTransposition},
                                {"getTimeSig", GetTimeSig},
                                {"getBarLength", GetBarLength},
                                {"calcDurLength", CalcDurLength},
                                {"getPort", GetPort},
                                {"getChannel", GetChannel},
                                {"getNoteVelocity", GetNoteVelocity},
                                {"note", Note},
                                {"midi", Midi},
                                {nullptr, nullptr}};
  luaL_newlib(L, functions);
  lua_pushinteger(L, kPpq);
  lua_setfield(L, -2, "PPQ");
  return 1;
}

}  // namespace kvt
