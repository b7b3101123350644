// The kvt module's notation index, kvtplay and kvtui, run by scripts in the sandbox with run
// contexts pushed as plug-in calls will push them.

#include <string>
#include <vector>

#include "midi/events/midi_file_buf.h"
#include "notation/context/staff_context_state.h"
#include "notation/index/simple_ntn_idx.h"
#include "notation/items/user_object.h"
#include "tests/scripting/sandbox_fixture.h"
#include "tests/scripting/scripted_dialogs.h"
#include "tests/scripting/staff_fixture.h"

namespace kvt::test {
namespace {

constexpr char kStaffLines[] =
    "|Clef|Type:Treble\r\n"
    "|TimeSig|Signature:3/4\r\n"
    "|Note|Dur:4th|Pos:-4\r\n"
    "|User|Thing|Pos:2|Label:\"a\\}b\"\r\n"
    "|Chord|Dur:8th|Pos:-2,0,2\r\n"
    "|Rest|Dur:4th\r\n"
    "|Bar\r\n"
    "|Note|Dur:Half|Pos:#1^\r\n"
    "|Note|Dur:Half|Pos:1\r\n";

class ScriptModulesTest : public SandboxTest {
protected:
  void SetUp() override {
    host = std::make_unique<TKVTLuaInterpreter>(log, scripted, NullFontCatalog(), "");
    host->CreateState();
    score = ReadClipScore(kStaffLines);
    ASSERT_TRUE(score);
    staff = score->GetStaff(0);
    objectIndex = TSimpleNtnIdx(staff);
    ASSERT_TRUE(objectIndex.FindType(kItemUserObject, 1));
    context.kind = TLuaRunKind::kEdit;
    context.index = &objectIndex;
  }

  TScriptedDialogs scripted;
  std::unique_ptr<TMusicScore> score;
  TMusicStaff* staff = nullptr;
  TSimpleNtnIdx objectIndex;
  TLuaRunContext context;
};

TEST_F(ScriptModulesTest, NtnIdxWalksInStepWithTheStaffIndex) {
  // The C++ walk from the object to the end, and back to the start.
  std::string expected;
  TSimpleNtnIdx walk = objectIndex;
  while (walk.Next()) expected += std::to_string(walk.GetIndex() - objectIndex.GetIndex()) + walk.GetTypeName() + " ";
  walk = objectIndex;
  while (walk.Prev()) expected += std::to_string(walk.GetIndex() - objectIndex.GetIndex()) + walk.GetTypeName() + " ";
  EXPECT_EQ(Eval("(function() local i, s = kvt.ntnidx, '' i:reset()"
                 " while i:find('next') do s = s .. i:indexOffset() .. i:objType() .. ' ' end"
                 " i:reset() while i:find('prior') do s = s .. i:indexOffset() .. i:objType() .. ' ' end"
                 " return s end)()",
                 &context),
            expected);
  EXPECT_EQ(Eval("kvt.ntnidx:find('first', 'note') and kvt.ntnidx:indexOffset()", &context), "-1");
  EXPECT_EQ(Eval("kvt.ntnidx:find('last', 'note') and kvt.ntnidx:notePitchPos(1)", &context), "1");
  EXPECT_EQ(Eval("kvt.ntnidx:find('prior', 'note') and kvt.ntnidx:notePitchPos(1)", &context), "-4");
  EXPECT_EQ(Eval("(function() local i = kvt.ntnidx i:reset() i:find('next', 'objType')"
                 " return i:indexOffset() end)()", &context), "1");
  EXPECT_EQ(Eval("(function() local i = kvt.ntnidx i:reset() i:find('next', 'objType', 'Rest', 'Bar')"
                 " return i:objType() end)()", &context), "Rest");
  EXPECT_EQ(Eval("(function() local i = kvt.ntnidx i:reset() local f = i:find('prior', 'duration')"
                 " return tostring(f) .. i:durationBase() .. i:noteCount() end)()", &context), "true4th1");
  // A failed search leaves the object where it was.
  EXPECT_EQ(Eval("(function() local i = kvt.ntnidx i:reset() local f = i:find('next', 'clef')"
                 " return tostring(f) .. i:indexOffset() end)()", &context), "false0");
  EXPECT_NE(Eval("kvt.ntnidx:find('sideways')", &context).find("Invalid action 'sideways'"), std::string::npos);
  EXPECT_NE(Eval("kvt.ntnidx:find('next', 'objType', 'Note','Note','Note','Note','Note','Note',"
                 "'Note','Note','Note','Note','Note','Note','Note','Note','Note','Note')", &context)
                .find("too many type names"),
            std::string::npos);
}

TEST_F(ScriptModulesTest, NtnIdxQueriesAndComparisons) {
  EXPECT_EQ(Eval("kvt.ntnidx:userType()", &context), "Thing");
  EXPECT_EQ(Eval("kvt.ntnidx:userProp('Label')", &context), "a|b");
  EXPECT_EQ(Eval("kvt.ntnidx:objProp('Label')", &context), "a|b");
  EXPECT_EQ(Eval("kvt.ntnidx:staffPos()", &context), "2");
  EXPECT_EQ(Eval("(function() local i = kvt.ntnidx i:reset() i:find('next', 'note')"
                 " return i:noteCount() .. ':' .. i:notePos(1) .. ':' .. i:notePos(3) .. ':' .. i:sppOffset() end)()",
                 &context),
            "3:-4:0:0");
  EXPECT_EQ(Eval("(function() local i = kvt.ntnidx i:reset() i:find('prior', 'note')"
                 " return i:sppOffset() .. tostring(i:isDotted()) .. tostring(i:isBeamed()) end)()", &context),
            "-192falsefalse");
  EXPECT_EQ(Eval("(function() local i = kvt.ntnidx i:reset() return tostring(i:isGrace()) end)()", &context), "nil");
  EXPECT_EQ(Eval("(function() local i = kvt.ntnidx i:reset() i:find('next')"
                 " return tostring(i > 0) .. tostring(0 < i) .. tostring(i <= 1) end)()", &context),
            "truetruetrue");
  EXPECT_NE(Eval("kvt.ntnidx:find('next')").find("Invalid user object context"), std::string::npos);
  EXPECT_NE(Eval("kvt.ntnidx.new()", &context).find("not allowed here"), std::string::npos);
  EXPECT_EQ(Eval("getmetatable(kvt.ntnidx.new())"), "kvt.ntnidx");
  EXPECT_NE(Eval("kvt.ntnidx.indexOffset({})", &context).find("kvt.ntnidx expected"), std::string::npos);
  EXPECT_NE(Eval("kvt.ntnidx:notePos(0/0)", &context).find("integer"), std::string::npos);
}

TEST_F(ScriptModulesTest, ObjPropGivesWholeLongValues) {
  auto* object = objectIndex.GetUserObject();
  ASSERT_NE(object, nullptr);
  std::string big;
  for (int i = 0; big.size() < 30000; ++i) big += "x|\\\"y" + std::to_string(i % 10);
  big.resize(30000);
  object->SetParam("Big", big);
  lua_State* L = host->GetState();
  ASSERT_EQ(host->RunText("return kvt.ntnidx:objProp('Big'), kvt.ntnidx:propTable().Big, kvt.ntnidx:userProp('Big')",
                          "=t", &context, 3),
            0)
      << host->GetLastError();
  for (int i = -3; i <= -1; ++i) {
    size_t length = 0;
    const char* value = lua_tolstring(L, i, &length);
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(std::string(value, length), big) << i;
  }
  lua_pop(L, 3);
}

TEST_F(ScriptModulesTest, KvtPlayChecksItsRangesAndAddsEvents) {
  TStaffContextState state;
  state.SetChannel(3);
  state.SetSongPosition(1000);
  state.SetNoteVelocity(90);
  TMidiFileBuf events;
  TLuaRunContext play;
  play.kind = TLuaRunKind::kPlay;
  play.index = &objectIndex;
  play.playState = &state;
  play.events = &events;
  struct Case {
    const char* call;
    const char* error;  // "" for success
  } cases[] = {
      {"kvtplay.note(0, 0, 60)", "note duration out of range"},
      {"kvtplay.note(0, 6145, 60)", "note duration out of range"},
      {"kvtplay.note(0, 10, 128)", "note out of range"},
      {"kvtplay.note(0, 10, -1)", "note out of range"},
      {"kvtplay.note(0, 10, 60, 200)", "velocity out of range"},
      {"kvtplay.note(6145, 10, 60)", "song position out of range"},
      {"kvtplay.note(-1001, 10, 60)", "song position out of range"},
      {"kvtplay.note(1/0, 10, 60)", "song position out of range"},
      {"kvtplay.note(0, 0/0, 60)", "note duration out of range"},
      {"kvtplay.midi(0, 7, 1)", "MIDI command out of range"},
      {"kvtplay.midi(0, 'sysex', 1)", "MIDI command out of range"},
      {"kvtplay.midi(0, 'controller', 128)", "MIDI data1 out of range"},
      {"kvtplay.midi(0, 3, 7, 128)", "MIDI data2 out of range"},
      {"kvtplay.note(-1000, 96, 60)", ""},
      {"kvtplay.midi(10, 'controller', 7, 100)", ""},
  };
  for (const Case& c : cases) {
    const std::string error = Run(c.call, &play);
    if (*c.error == '\0')
      EXPECT_EQ(error, "") << c.call;
    else
      EXPECT_NE(error.find(c.error), std::string::npos) << c.call << " -> " << error;
  }
  ASSERT_EQ(events.GetEventCount(), 3);
  EXPECT_EQ(events.GetEvent(0).time, 0u);
  EXPECT_EQ(Eval("kvtplay.getChannel() .. kvtplay.getBarLength() .. kvtplay.calcDurLength('8th') .. tostring(kvtplay.calcDurLength('x'))", &play),
            "3768" "96" "nil");
  // Muted staves drop notes; reading needs a play walk, adding a play (not a vplay) walk.
  play.muted = true;
  EXPECT_EQ(Run("kvtplay.note(0, 10, 60) kvtplay.midi(0, 'noteOn', 60, 1)", &play), "");
  EXPECT_EQ(events.GetEventCount(), 3);
  play.kind = TLuaRunKind::kVPlay;
  EXPECT_NE(Run("kvtplay.note(0, 10, 60)", &play).find("Invalid kvtplay context"), std::string::npos);
  EXPECT_EQ(Run("assert(kvtplay.getClef() == 'Treble')", &play), "");
  EXPECT_NE(Run("kvtplay.getClef()", &context).find("Invalid kvtplay audit context"), std::string::npos);
  EXPECT_NE(Run("kvtplay.getClef()").find("Invalid kvtplay audit context"), std::string::npos);
}

TEST_F(ScriptModulesTest, KvtUiNeedsAnEditCallAndAnOwnerWindow) {
  EXPECT_NE(Run("kvtui.msgbox('x')").find("Invalid user object creation context"), std::string::npos);
  EXPECT_EQ(Eval("kvtui.msgbox('x')", &context), "nil");  // no owner window: no dialog
  EXPECT_TRUE(scripted.messages.empty());
  int window = 0;
  context.ownerWindow = &window;
  scripted.answers = {TScriptAnswer::kOk, TScriptAnswer::kNo, TScriptAnswer::kCancel};
  EXPECT_EQ(Eval("kvtui.msgbox('x') .. kvtui.askbox('q', 'Cap', 2)", &context), "10");
  EXPECT_EQ(scripted.messages[0].caption, "Information");
  EXPECT_EQ(scripted.messages[1].caption, "Cap");
  EXPECT_EQ(scripted.messages[1].defaultButton, 2);
  // Cancel clears the window: the rest of the call gets nil without a dialog.
  EXPECT_EQ(Eval("tostring(kvtui.msgbox('x')) .. tostring(kvtui.askbox('y'))", &context), "nilnil");
  EXPECT_EQ(context.ownerWindow, nullptr);
  EXPECT_EQ(scripted.messages.size(), 3u);
}

TEST_F(ScriptModulesTest, KvtUiPromptReadsItsTypesAndBounds) {
  int window = 0;
  context.ownerWindow = &window;
  scripted.promptValues = {{3.0}, {std::string("b")}, {1.5, -2.25}};
  EXPECT_EQ(Eval("kvtui.prompt('n', '#[0,10]')", &context), "3");
  EXPECT_EQ(scripted.prompts.back().kind, TPromptKind::kInteger);
  EXPECT_EQ(scripted.prompts.back().initial[0], 0);
  EXPECT_EQ(scripted.prompts.back().high[0], 10);
  EXPECT_EQ(Eval("kvtui.prompt('pick', '|a|b|c', 'c')", &context), "b");
  EXPECT_EQ(scripted.prompts.back().choice, 2);
  EXPECT_EQ(Eval("table.concat({kvtui.prompt('xy', '@([0,5],[-5,0])', 9, -9)}, ',')", &context), "1.5,-2.25");
  EXPECT_EQ(scripted.prompts.back().initial[0], 5);
  EXPECT_EQ(scripted.prompts.back().initial[1], -5);
  EXPECT_NE(Run("kvtui.prompt('x', '?')", &context).find("Unrecognized prompt data type request."),
            std::string::npos);
  EXPECT_EQ(Eval("tostring(kvtui.prompt('x', '*', 'start'))", &context), "nil");
  EXPECT_EQ(scripted.prompts.back().text, "start");
}

TEST_F(ScriptModulesTest, DialogTimeIsNotChargedToTheCall) {
  int window = 0;
  context.ownerWindow = &window;
  scripted.sleepMs = 700;
  scripted.answers = {TScriptAnswer::kOk};
  EXPECT_EQ(Run("kvtui.msgbox('slow') local n = 0 for i = 1, 1000 do n = n + 1 end", &context), "");
}

}  // namespace
}  // namespace kvt::test
