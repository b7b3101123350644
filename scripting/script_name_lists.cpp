#include "scripting/script_name_lists.h"

#include <string>

#include "notation/items/name_lists.h"
#include "scripting/protected_proxy.h"
#include "utils/text_encoding.h"

namespace kvt {

namespace {

struct TNotationList {
  const char* name;
  TNameListId list;
};

// Each script name and the list the score text writes for that attribute.
constexpr TNotationList kNotationLists[] = {
    {"AttachLyricSyllable", kNameListLyricOptions},
    {"BarLineType", kNameListBarStylesText},
    {"BoundaryTypes", kNameListBoundaryStyles},
    {"ClefType", kNameListClefs},
    {"DynamicLevels", kNameListDynamicsText},
    {"DynamicVariance", kNameListDynamicVariancesDisplay},
    {"ExpressionJustify", kNameListJustification},
    {"ExpressionPlacement", kNameListPlacementText},
    {"FlowDirTypes", kNameListFlowText},
    {"ItemColor", kNameListColors},
    {"ItemVisibility", kNameListVisibilityText},
    {"Lyric2NoteAlignment", kNameListLyricAlignment},
    {"LyricAlignment", kNameListLyricPlacement},
    {"MarkerTargets", kNameListMarkerTargets},
    {"MeasureNumStyles", kNameListBarNumberStyles},
    {"MPCControllers", kNameListControllersText},
    {"MPCStyle", kNameListControlStyles},
    {"NoteConnectState", kNameListGroupStates},
    {"NoteDuration", kNameListDurationsLong},
    {"NoteDurBase", kNameListDurationsText},
    {"NoteScale", kNameListNoteLetters},
    {"ObjLabels", kNameListItemKinds},
    {"OctaveShift", kNameListClefOctaveShifts},
    {"PerformanceStyle", kNameListPerformanceStylesDisplay},
    {"SpecialSignatures", kNameListTimeSigStylesText},
    {"TextExpressionFonts", kNameListScoreFontsText},
    {"StaffEndBarLineType", kNameListEndingBars},
    {"StaffLabelStyles", kNameListStaffLabelPrinting},
    {"SustainPedalStatus", kNameListPedalStates},
    {"TempoBase", kNameListTempoBases},
    {"TempoVariance", kNameListTempoVariancesDisplay},
    {"TieDir", kNameListSlurDirections},
    {"UserObjClassTypes", kNameListUserObjectClasses},
    {"StaffProperties", kNameListStaffProperties},
    {"SongInfoFields", kNameListSongInfoFields},
    {"PageSetupFields", kNameListPageOptions},
    {"PageMarginFields", kNameListPageMargins},
};

const char* const kPlayMidiCmds[] = {"noteOff",           "noteOn",    "keyAftertouch", "controller",
                                     "patch", "channelAftertouch", "pitchBend", nullptr};

struct THostList {
  const char* name;
  const char* const* entries;
};

const char* const kUserPropValueTypes[] = {"text", "enum", "bool", "int", "float", nullptr};
const char* const kDrawTextAlign[] = {"left", "center", "right", nullptr};
const char* const kDrawTextVAlign[] = {"top", "middle", "baseline", "bottom", nullptr};
const char* const kDrawPenStyle[] = {"solid", "dot", "dash", nullptr};
const char* const kDrawFillStyle[] = {"fill", "stroke", "strokeandfill", nullptr};

constexpr THostList kHostLists[] = {
    {"UserPropValueTypes", kUserPropValueTypes}, {"DrawTextAlign", kDrawTextAlign},
    {"DrawTextVAlign", kDrawTextVAlign},         {"DrawPenStyle", kDrawPenStyle},
    {"DrawFillStyle", kDrawFillStyle},           {"PlayMidiCmds", kPlayMidiCmds},
};

void AddList(lua_State* L, const char* name) {
  WrapInProtectedProxy(L, "kvt.txt.", name, true);
  lua_setfield(L, -2, name);
}

}  // namespace

const char* const* GetPlayMidiCommandNames() { return kPlayMidiCmds; }

void PushScriptNameLists(lua_State* L, bool withHostLists) {
  lua_newtable(L);
  for (const TNotationList& list : kNotationLists) {
    const int n = GetNameListSize(list.list);
    lua_createtable(L, n, 0);
    for (int i = 0; i < n; ++i) {
      // The lists are Windows-1252; scripts see UTF-8.
      const std::string name = Utf16ToUtf8(MultiByteToUtf16(1252, GetNameListEntry(list.list, i)));
      lua_pushlstring(L, name.data(), name.size());
      lua_rawseti(L, -2, i + 1);
    }
    AddList(L, list.name);
  }
  if (withHostLists) {
    for (const THostList& list : kHostLists) {
      lua_newtable(L);
      for (int i = 0; list.entries[i] != nullptr; ++i) {
        lua_pushstring(L, list.entries[i]);
        lua_rawseti(L, -2, i + 1);
      }
      AddList(L, list.name);
    }
  }
  WrapInProtectedProxy(L, "kvt.", "txt", false);
}

}  // namespace kvt
