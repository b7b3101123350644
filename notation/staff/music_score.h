#pragma once
// TMusicScore: one score: song information, page setup, the editor's remembered position, the
// score fonts, page options and the ordered array of at most 255 staves.
//
// Contract:
// - The score owns its staves (and its font settings) and deletes them; it is neither copied
//   nor moved. DetachStaff hands a staff back to the caller.
// - At most MaxScoreStaffs staves. AddStaff and InsertStaff on a full score are a broken
//   precondition "GetLastIndex() < (MaxScoreStaffs-1)" (a programming error: editors check
//   GetStaffCount first); callers that add staves from outside data (file readers, MIDI
//   import, scripts) use TryAddStaff / TryInsertStaff, which refuse with false instead.
// - The include flags (one bit per staff index) move with the staves: inserting or detaching
//   a staff inserts or removes its bit.
// - Lookups return null or -1; property getters return false for an index outside their table.
// - Texts are UTF-16; every setter cuts at its field's size on a character boundary.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "notation/services/services.h"
#include "notation/staff/music_fonts_data.h"
#include "utils/bool_array.h"
#include "utils/date.h"

namespace kvt {

class TMusicStaff;
class TKVVariant;
class TKVStringList;

// Song information fields in their stored order, with their sizes in UTF-16 units (terminator
// included).
enum TSongInfoField : int {
  kSongTitle = 0,
  kSongAuthor = 1,
  kSongLyricist = 2,
  kSongCopyright1 = 3,
  kSongCopyright2 = 4,
  kSongComments = 5,
};
inline constexpr int kSongInfoFieldCount = 6;
inline constexpr int kSongTitleUnits = 64;
inline constexpr int kSongAuthorUnits = 48;
inline constexpr int kSongLyricistUnits = 48;
inline constexpr int kSongCopyrightUnits = 96;
inline constexpr int kSongCommentsUnits = 1024;

// The song information block (2752 bytes) a new score may be given.
struct TScoreSongInfo {
  char16_t title[kSongTitleUnits] = {};
  char16_t author[kSongAuthorUnits] = {};
  char16_t lyricist[kSongLyricistUnits] = {};
  char16_t copyright1[kSongCopyrightUnits] = {};
  char16_t copyright2[kSongCopyrightUnits] = {};
  char16_t comments[kSongCommentsUnits] = {};

  // The field's text ("" for a field outside 0..5) and its size in units (0 outside).
  const char16_t* Get(int field) const;
  static int FieldUnits(int field);
  // Cut to the field's size on a character boundary; false for a field outside 0..5.
  bool Set(int field, std::u16string_view text);
  void Clear();

private:
  // The field's storage, null for a field outside 0..5.
  char16_t* Field(int field);
};
static_assert(sizeof(TScoreSongInfo) == 2752);

// Page margins in inches and the mirror flag.
struct TPageMargins {
  float top = 0.5f;
  float left = 0.5f;
  float right = 0.5f;
  float bottom = 0.5f;
  bool mirror = false;
};

// Score property tables of the scripting host.
enum TScorePropertyTable : int {
  kScorePropsSongInfo = 0,     // 0 Title ... 5 Comments (texts)
  kScorePropsPageOptions = 1,  // 0 TitlePage ... 9 AllowLayering
  kScorePropsMargins = 2,      // 0 Left, 1 Top, 2 Right, 3 Bottom (centimetres), 4 Mirror
};

// Staff attributes of GetStaffFlags and SetStaffFlags.
enum TStaffFlagKind : int { kStaffFlagMuted = 0, kStaffFlagLayerWithNext = 1 };

class TMusicScore {
public:
  static constexpr int MaxScoreStaffs = 255;

  // Include flags of 255 bits, the default fonts, editor state reset, Reset(services); then,
  // when settings is given, its song information replaces the cleared one. The services serve
  // the construction only.
  explicit TMusicScore(const TScoreSongInfo* settings = nullptr,
                       const TServices& services = TServices());
  // Deletes the staves from the last to the first, then the fonts.
  ~TMusicScore();
  TMusicScore(const TMusicScore&) = delete;
  TMusicScore& operator=(const TMusicScore&) = delete;

  // Include flags cleared but bit 0; song information cleared; margins and Mirror from the
  // services' page-setup defaults; zoom 8; PageNumbers, StaffLabels, BarNumbers 0;
  // StartingBar 1; the date today; option bits to their defaults. Staves, fonts and editor
  // state stay.
  void Reset(const TServices& services);

  // --- song information ---
  const TScoreSongInfo& GetSongInfo() const { return songInfo; }
  const char16_t* GetSongInfoText(int field) const { return songInfo.Get(field); }
  bool SetSongInfoText(int field, std::u16string_view text) { return songInfo.Set(field, text); }

  // --- editor state ---
  int GetActiveStaff() const { return activeStaff; }
  int GetCaretIndex() const { return caretIndex; }
  int GetSelectIndex() const { return selectIndex; }
  int GetCaretPos() const { return caretPos; }
  void SetEditorState(int activeStaff, int caretIndex, int selectIndex, int caretPos);
  // -1, -1, -1, 0.
  void ResetEditorState();
  // CaretIndex and SelectIndex both above 0 and different.
  bool HasSelection() const;
  // SelectIndex when there is a selection, else CaretIndex.
  int GetSelectionEnd() const;

  // --- page setup ---
  const TPageMargins& GetMargins() const { return margins; }
  void SetMargins(const TPageMargins& m) { margins = m; }
  int GetZoom() const { return zoom; }
  void SetZoom(int z) { zoom = z; }
  int GetPageNumbers() const { return pageNumbers; }
  void SetPageNumbers(int n) { pageNumbers = n; }
  // Index into the staff-label style list.
  int GetStaffLabels() const { return staffLabels; }
  void SetStaffLabels(int style) { staffLabels = style; }
  // Index into the bar-number style list.
  int GetBarNumbers() const { return barNumbers; }
  void SetBarNumbers(int style) { barNumbers = style; }
  int GetStartingBar() const { return startingBar; }
  void SetStartingBar(int bar) { startingBar = bar; }
  TKVDate GetDate() const { return date; }
  void SetDate(TKVDate d) { date = d; }

  // --- options ---
  bool GetAllowLayering() const { return (optionsA & kOptAllowLayering) != 0; }
  void SetAllowLayering(bool on) { SetOptionA(kOptAllowLayering, on); }
  // Set when the score was loaded from an older file version; cleared after saving.
  bool IsOldFormatVersion() const { return (optionsA & kOptOldFormat) != 0; }
  void SetOldFormatVersion(bool on) { SetOptionA(kOptOldFormat, on); }
  bool GetCompressed() const { return (optionsA & kOptCompressed) != 0; }
  void SetCompressed(bool on) { SetOptionA(kOptCompressed, on); }
  bool GetTitlePage() const { return (optionsA & kOptTitlePage) != 0; }
  void SetTitlePage(bool on) { SetOptionA(kOptTitlePage, on); }
  bool GetExtendLastSystem() const { return (optionsA & kOptExtendLastSystem) != 0; }
  void SetExtendLastSystem(bool on) { SetOptionA(kOptExtendLastSystem, on); }
  bool GetDurationPadding() const { return (optionsA & kOptDurationPadding) != 0; }
  void SetDurationPadding(bool on) { SetOptionA(kOptDurationPadding, on); }
  bool GetJustifyVertically() const { return (optionsB & kOptJustifyVertically) != 0; }
  void SetJustifyVertically(bool on) { SetOptionB(kOptJustifyVertically, on); }
  bool GetPrintSystemSepMark() const { return (optionsB & kOptPrintSystemSepMark) != 0; }
  void SetPrintSystemSepMark(bool on) { SetOptionB(kOptPrintSystemSepMark, on); }
  // The experimental bit becomes flag, or UsesExperimentalFeatures() when flag is false.
  void SetExperimental(bool flag);
  bool IsExperimental() const { return (optionsA & kOptExperimental) != 0; }
  // Whether any staff has MultiPartDotPlacement.
  bool UsesExperimentalFeatures() const;
  // The raw option bytes (A: bit 0 reset marker ... bit 7 AllowLayering; B: bit 0
  // JustifyVertically, bit 1 PrintSystemSepMark).
  uint8_t GetOptionBitsA() const { return optionsA; }
  uint8_t GetOptionBitsB() const { return optionsB; }

  // --- fonts ---
  TMusicFontsData& GetFonts() { return *fonts; }
  const TMusicFontsData& GetFonts() const { return *fonts; }

  // --- properties by index (scripting host) ---
  // Song information: 0 Title ... 5 Comments as owned wide texts.
  bool GetSongInfoProperty(int index, TKVVariant& value) const;
  // 0 TitlePage, 1 JustifyVertically, 2 PrintSystemSepMark, 3 ExtendLastSystem, 4
  // DurationPadding (yes/no); 5 PageNumbers (integer); 6 StaffLabels, 7 BarNumbers (their
  // names); 8 StartingBar (integer); 9 AllowLayering (yes/no).
  bool GetPageOptionProperty(int index, TKVVariant& value) const;
  // 0 Left, 1 Top, 2 Right, 3 Bottom in centimetres (inches x 2.54, reals); 4 Mirror (yes/no).
  bool GetMarginProperty(int index, TKVVariant& value) const;

  // --- staves ---
  int GetStaffCount() const { return static_cast<int>(staves.size()); }
  int GetLastIndex() const { return GetStaffCount() - 1; }
  // Null outside 0..GetLastIndex().
  TMusicStaff* GetStaff(int i) const;
  // -1 when absent.
  int IndexOfStaff(const TMusicStaff* staff) const;
  // Appends; the new index's include flag is set. Precondition
  // "GetLastIndex() < (MaxScoreStaffs-1)"; staff not null.
  void AddStaff(std::unique_ptr<TMusicStaff> staff);
  // Appends when i is past the last index, else inserts at i (a negative i counts as 0), with
  // an include flag of 1. Same precondition.
  void InsertStaff(std::unique_ptr<TMusicStaff> staff, int i);
  // The checked forms for staves from outside data: false, with the staff left to the caller,
  // when the score already holds MaxScoreStaffs staves (or staff is null); otherwise they add
  // as above, take the staff (it becomes null) and return true.
  bool TryAddStaff(std::unique_ptr<TMusicStaff>& staff);
  bool TryInsertStaff(std::unique_ptr<TMusicStaff>& staff, int i);
  // Removes the staff and its include flag and hands it to the caller. Preconditions
  // "atIndex >= 0" and "atIndex <= GetLastIndex()".
  std::unique_ptr<TMusicStaff> DetachStaff(int atIndex);
  // The include flag of staff i (false outside the array).
  bool IsStaffIncluded(int i) const { return includeFlags.Get(i); }
  void SetStaffIncluded(int i, bool on) { includeFlags.Set(i, on); }
  const TKVBoolArray& GetIncludeFlags() const { return includeFlags; }

  // --- names ---
  // First (last) staff whose Name equals name exactly; -1 when none.
  int FindStaffByName(std::u16string_view name) const;
  int FindStaffByNameFromEnd(std::u16string_view name) const;
  // Gives the staff a name no other staff of the score carries: its Name (or "Staff" when
  // empty), with "-2", "-3" ... "-10" ... appended (the base cut so that the whole fits in 31
  // units) while another staff has the candidate.
  void MakeStaffNameUnique(TMusicStaff& staff);
  // The same for every staff in order, each against the staves before it (a loaded score:
  // the first of two staves named alike keeps its name). True when a name changed.
  bool MakeStaffNamesUnique();
  // "Staff-1", "Staff-2" ...: the first that no staff has.
  std::u16string MakeNewStaffName() const;

  // --- flags over all staves (TStaffFlagKind) ---
  // Bit i of bools becomes the attribute of staff i; bits past the staves are left alone.
  void GetStaffFlags(TStaffFlagKind which, TKVBoolArray& bools) const;
  // Staff i takes bit i of bools.
  void SetStaffFlags(TStaffFlagKind which, const TKVBoolArray& bools);

  // --- channels ---
  int CountStaffsOnChannel(int device, int channel) const;
  // The largest Device of the staves; 0 without staves.
  int GetMaxDevice() const;
  // The last staff's Device; 0 without staves.
  int GetLastStaffDevice() const;
  // From the last staff's channel (0 without staves), the next channel (modulo 16) that no
  // staff on device uses, giving up after 16 further tries; the last channel tried.
  int GetNextFreeChannel(int device) const;

  // --- groups and selections ---
  // Sets bit i of bools for every staff i whose Group equals group exactly (other bits are left
  // alone); returns the staff count.
  int FindStaffsByGroup(std::u16string_view group, TKVBoolArray& bools) const;
  // Clears list, then adds the index of every staff whose bit is set, in order, while the list
  // holds no more than limit entries and fewer than capacity. True when any was taken.
  bool SelectMarkedStaffs(std::vector<int>& list, const TKVBoolArray& bools, int limit,
                          int capacity) const;
  // The same for the staves whose Group equals group.
  bool SelectStaffsByGroup(std::vector<int>& list, std::u16string_view group, int limit,
                           int capacity) const;

  // --- fonts in use ---
  // Clears list and adds, once each, the music face when it is not installed, then the face of
  // every text font that is not available, as the services' font catalog answers.
  void CollectMissingFonts(TKVStringList& list, const TServices& services) const;
  // The Windows code page of text stored with score font role `index` (0..13: the music font
  // at full and two-thirds size, then the twelve text fonts): 1252 for roles 0 and 1; for a
  // text font, by its character set (2 1252, 128 932, 129 949, 134 936, 136 950, 161 1253,
  // 162 1254, 163 1258, 177 1255, 178 1256, 186 1257, 204 1251, 222 874, 238 1250). Any other
  // character set, a role outside 0..13 or no fonts give fallback.
  static int CodePageOfFont(int index, const TMusicFontsData* fonts, int fallback);

  // On every staff with more than two items, deletes from its first note, rest, chord, rest
  // chord or multi-bar rest up to the item before the closing bar line, and empties its lyric
  // lines. Returns the staff count.
  int StripContent();

  // --- user objects ---
  // The user objects whose type the services' user-object host has not loaded (every one
  // without a host); type names beginning with "." are not counted.
  int CountMissingUserObjectTypes(const TServices& services) const;
  // Fills names (and counts, when given) with the user-object type names of the score and how
  // often each occurs, at most capacity - 1 names; with includeLoaded and a user-object host in
  // the services, the loaded types come first (with count 0 unless used). Names beginning with
  // "." are skipped. Returns the number of names.
  int CollectUserObjectTypes(std::vector<std::string>& names, std::vector<int>* counts,
                             int capacity, bool includeLoaded, const TServices& services) const;

private:
  enum : uint8_t {
    kOptResetMarker = 1,
    kOptOldFormat = 2,
    kOptCompressed = 4,
    kOptExperimental = 8,
    kOptTitlePage = 16,
    kOptExtendLastSystem = 32,
    kOptDurationPadding = 64,
    kOptAllowLayering = 128,
  };
  enum : uint8_t { kOptJustifyVertically = 1, kOptPrintSystemSepMark = 2 };

  void SetOptionA(uint8_t bit, bool on);
  void SetOptionB(uint8_t bit, bool on);
  bool IsNameTakenByOther(const TMusicStaff& staff, std::u16string_view name) const;

  TKVBoolArray includeFlags{MaxScoreStaffs};
  std::unique_ptr<TMusicFontsData> fonts;
  int32_t activeStaff = -1;
  int32_t caretIndex = -1;
  int32_t selectIndex = -1;
  int32_t caretPos = 0;
  TScoreSongInfo songInfo;
  std::vector<std::unique_ptr<TMusicStaff>> staves;
  TKVDate date;
  int32_t barNumbers = 0;
  int32_t startingBar = 1;
  TPageMargins margins;
  int32_t zoom = 8;
  int32_t pageNumbers = 0;
  int32_t staffLabels = 0;
  uint8_t optionsA = 0;
  uint8_t optionsB = 0;
};

}  // namespace kvt
