#pragma once
// The fixed name lists: every enumerated attribute of the notation model has a list of names
// addressed by a list number, entry n naming the value n. Some attributes have two lists: a
// display list for dialogs and menus, and a score-text list whose names are written to files.
//
// A list is one constant byte string: names each ending in a zero byte, the list ending in an
// empty name (a second zero). The names are Windows-1252 text; all are ASCII except "Pi\xF9
// mosso" and "pi\xF9 mosso" (u with grave accent, byte 0xF9) of the performance-style lists.
// Callers holding UTF-8 or UTF-16 text convert through code page 1252 before a lookup.
//
// Every lookup bounds both the list number and the value: a list number outside 0..52 reads
// as an empty list, so no lookup ever runs past the table.

#include <string_view>

namespace kvt {

inline constexpr int kNameListCount = 53;

// List numbers. "Display" and "Text" pairs name one attribute twice.
enum TNameListId : int {
  kNameListItemKinds = 0,            // item type codes 0-23; record names of the score text
  kNameListEditorColors = 1,         // the 16 editor and print colours
  kNameListStaffStyles = 2,          // legacy staff styles
  kNameListColors = 3,               // item and staff colours
  kNameListVisibilityDisplay = 4,
  kNameListVisibilityText = 5,
  kNameListClefs = 6,
  kNameListBarStylesDisplay = 7,
  kNameListBarStylesText = 8,
  kNameListEndingBars = 9,           // staff ending bar styles
  kNameListFlowDisplay = 10,
  kNameListFlowText = 11,
  kNameListNoteLetters = 12,
  kNameListDurationsLong = 13,
  kNameListDurationsText = 14,
  kNameListLyricOptions = 15,
  kNameListGroupStates = 16,         // beam and triplet group position
  kNameListDynamicsDisplay = 17,
  kNameListDynamicsText = 18,
  kNameListDynamicVariancesDisplay = 19,
  kNameListDynamicVariancesShown = 20,  // texts drawn in the score
  kNameListControllersDisplay = 21,
  kNameListControllersText = 22,
  kNameListControlStyles = 23,
  kNameListTimeSigStylesDisplay = 24,
  kNameListTimeSigStylesText = 25,
  kNameListTempoBases = 26,
  kNameListTempoVariancesDisplay = 27,
  kNameListTempoVariancesShown = 28,    // texts drawn in the score
  kNameListPerformanceStylesDisplay = 29,
  kNameListPerformanceStylesShown = 30,  // texts drawn in the score
  kNameListJustification = 31,
  kNameListClefOctaveShifts = 32,
  kNameListPlacementDisplay = 33,
  kNameListPlacementText = 34,
  kNameListBarNumberStyles = 35,
  kNameListScoreFontsDisplay = 36,
  kNameListScoreFontsText = 37,
  kNameListLyricPlacement = 38,
  kNameListSlurDirections = 39,
  kNameListLyricAlignment = 40,
  kNameListPedalStates = 41,
  kNameListStaffLabelPrinting = 42,
  kNameListAccidentalLetters = 43,   // one entry: the letters "#bnxv", indexed by accidental
  kNameListNoteHeadLetters = 44,     // one entry: the note-head letters, indexed by head
  kNameListBoundaryStyles = 45,
  kNameListUserObjectClasses = 46,
  kNameListUserObjectFields = 47,    // reserved field names of user objects
  kNameListMarkerTargets = 48,
  kNameListStaffProperties = 49,
  kNameListSongInfoFields = 50,
  kNameListPageOptions = 51,
  kNameListPageMargins = 52,
};

// What a value outside its list reads as.
inline constexpr char kNameListMissing[] = "***";

// The packed list; an empty list (one zero byte, i.e. "") for a number outside 0..52.
const char* GetNameList(int list);
// Number of names in the list; 0 for a number outside 0..52.
int GetNameListSize(int list);
// The name of `value`: "***" when the list has no such entry (or the list number is out of
// range); a negative value gives the first entry.
const char* GetNameListEntry(int list, int value);
// The value whose name equals `name`, or `defaultValue` when no entry does (or the list number
// is out of range). With ignoreCase the comparison folds the letters of Windows-1252 (ASCII
// and the accented Latin letters) to lower case, so "TREBLE" and "treble" find "Treble";
// without it the bytes must match exactly. The first matching entry wins.
int FindNameListEntry(int list, std::string_view name, bool ignoreCase, int defaultValue);

// The six UTF-16 constants.
inline constexpr int kWideNameCount = 6;
enum TWideNameId : int {
  kWideNameBlank = 0,      // " "
  kWideNameDash = 1,       // "-"
  kWideNameLineEnd = 2,    // CR LF
  kWideNameParagraph = 3,  // CR LF CR LF
  kWideNameTab = 4,        // TAB
  kWideNameInstrument = 5, // "[Instr]": an instrument change without a name
};
// The constant; "" for a number outside 0..5.
const char16_t* GetWideNameList(int number);

}  // namespace kvt
