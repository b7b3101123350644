// Calls the script modules' functions with arguments made from the input, in a user-object
// call on a small staff: every wrong argument must end as a Lua error, never a crash.
//
// Input: a byte choosing the run kind, a byte choosing the function, then arguments, each a
// tag byte (nil, boolean, small integer, real from 8 bytes, text of a length byte) and data.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "midi/events/midi_file_buf.h"
#include "notation/context/staff_context_state.h"
#include "notation/files/score_load_result.h"
#include "notation/files/text/score_text_reader.h"
#include "notation/index/simple_ntn_idx.h"
#include "notation/services/services.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
#include "scripting/lua_interpreter.h"
#include "scripting/script_dialogs.h"
#include "utils/alert_log.h"
#include "utils/flat_ram_stream.h"
#include "utils/font_description.h"

namespace {

const char* const kFunctions[] = {
    "kvt.ntnidx.find",      "kvt.ntnidx.objProp",   "kvt.ntnidx.notePos",  "kvt.ntnidx.notePitchPos",
    "kvt.ntnidx.isDotted",  "kvt.ntnidx.propTable", "kvt.ntnidx.userProp", "kvt.ntnidx.sppOffset",
    "kvtplay.note",         "kvtplay.midi",         "kvtplay.getNoteNumber", "kvtplay.calcDurLength",
    "kvtui.prompt",         "kvtui.msgbox",         "kvtui.fontdlg",       "kvt.addPairs",
    "kvt.isset",            "kvt.rawget",           "kvt.debug",           "utf8string.sub",
    "utf8string.charpos",   "utf8string.next",      "utf8string.insert",   "utf8string.remove",
    "utf8string.escape",    "utf8string.width",     "utf8string.widthindex", "utf8string.char",
    "utf8string.byte",      "utf8string.gsub",      "utf8string.find",     "string.rep",
    "string.find",          "string.gsub",          "table.concat",        "string.gmatch",
};
constexpr size_t kFunctionCount = sizeof(kFunctions) / sizeof(kFunctions[0]);

// Lua source for one argument read from the input; empty when the input is used up.
std::string Argument(const uint8_t*& p, const uint8_t* end) {
  if (p >= end) return std::string();
  const uint8_t tag = *p++ % 8;
  switch (tag) {
    case 0: return "nil";
    case 1: return "true";
    case 2: return "kvt.ntnidx";
    case 3: return p < end ? std::to_string(static_cast<int8_t>(*p++)) : "0";
    case 4: {
      double value = 0;
      if (end - p >= 8) {
        std::memcpy(&value, p, 8);
        p += 8;
      }
      if (value != value) return "(0/0)";
      if (value > 1e308) return "(1/0)";
      if (value < -1e308) return "(-1/0)";
      char text[64];
      std::snprintf(text, sizeof text, "%.17g", value);
      return std::string("(") + text + ")";
    }
    case 5: return "{1, 'a', {}}";
    default: {
      size_t length = p < end ? *p++ % 64 : 0;
      if (length > static_cast<size_t>(end - p)) length = static_cast<size_t>(end - p);
      std::string text = "\"";
      for (size_t i = 0; i < length; ++i) {
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\%u", static_cast<unsigned>(p[i]));
        text += escaped;
      }
      p += length;
      return text + "\"";
    }
  }
}

struct TWorld {
  kvt::TNullAlertLog log;
  kvt::TNullScriptDialogs dialogs;
  kvt::TKVTLuaInterpreter host{log, dialogs, kvt::NullFontCatalog(), "", size_t{16} << 20};
  std::unique_ptr<kvt::TMusicScore> score;
  kvt::TSimpleNtnIdx index;

  TWorld() {
    host.CreateState();
    std::string text =
        "!TarlowmedeRazadoveClip(2.75,Single)\r\n|Clef|Type:Bass\r\n|Note|Dur:4th,Dotted|Pos:#-3^\r\n"
        "|User|Thing|Pos:1|A:\"x\"\r\n|Chord|Dur:8th|Pos:-1,1\r\n|Rest|Dur:4th\r\n"
        "!TarlowmedeRazadoveClip-End\r\n";
    kvt::TKRVFlatRamStream stream(text.data(), static_cast<int>(text.size()), static_cast<int>(text.size()));
    score = std::move(kvt::ReadScoreText(stream, kvt::TServices{}).score);
    index = kvt::TSimpleNtnIdx(score->GetStaff(0));
    index.FindType(kvt::kItemUserObject, 1);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static TWorld world;
  if (size < 2) return 0;
  const uint8_t* p = data;
  const uint8_t* end = data + size;
  kvt::TStaffContextState state;
  kvt::TMidiFileBuf events;
  kvt::TLuaRunContext context;
  int window = 0;
  context.kind = static_cast<kvt::TLuaRunKind>(*p++ % 7);
  context.index = &world.index;
  context.ownerWindow = &window;
  context.playState = &state;
  context.events = &events;
  std::string call = std::string(kFunctions[*p++ % kFunctionCount]) + "(";
  for (int n = 0; n < 6; ++n) {
    const std::string argument = Argument(p, end);
    if (argument.empty()) break;
    call += (n > 0 ? ", " : "") + argument;
  }
  call += ")";
  world.host.RunText(call, "=call", &context);
  if (world.host.IsFailed()) world.host.ClearBans();
  return 0;
}
