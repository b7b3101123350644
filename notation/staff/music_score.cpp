// Construction, settings, properties and the staff array of a score.

#include "notation/staff/music_score.h"

#include <algorithm>
#include <string>

#include "notation/staff/music_staff.h"
#include "notation/items/name_lists.h"
#include "notation/services/page_setup_defaults.h"
#include "utils/precondition.h"
#include "utils/text_copy.h"
#include "utils/variant.h"

namespace kvt {

namespace {

// Room reserved up front: most scores have fewer staves.
constexpr size_t kInitialStaffRoom = 17;

// Option bits a reset gives: compressed, title page, duration padding, allow layering.
constexpr uint8_t kDefaultOptionsA = 4 | 16 | 64 | 128;
// Justify vertically.
constexpr uint8_t kDefaultOptionsB = 1;

}  // namespace

// --- song information ---

char16_t* TScoreSongInfo::Field(int field) {
  switch (field) {
    case kSongTitle: return title;
    case kSongAuthor: return author;
    case kSongLyricist: return lyricist;
    case kSongCopyright1: return copyright1;
    case kSongCopyright2: return copyright2;
    case kSongComments: return comments;
    default: return nullptr;
  }
}

const char16_t* TScoreSongInfo::Get(int field) const {
  const char16_t* text = const_cast<TScoreSongInfo*>(this)->Field(field);
  return text ? text : u"";
}

int TScoreSongInfo::FieldUnits(int field) {
  switch (field) {
    case kSongTitle: return kSongTitleUnits;
    case kSongAuthor: return kSongAuthorUnits;
    case kSongLyricist: return kSongLyricistUnits;
    case kSongCopyright1:
    case kSongCopyright2: return kSongCopyrightUnits;
    case kSongComments: return kSongCommentsUnits;
    default: return 0;
  }
}

bool TScoreSongInfo::Set(int field, std::u16string_view text) {
  char16_t* target = Field(field);
  if (!target) return false;
  const std::u16string copy(text);
  CopyWideStringMax(target, copy.c_str(), FieldUnits(field));
  return true;
}

void TScoreSongInfo::Clear() { *this = TScoreSongInfo(); }

// --- construction ---

TMusicScore::TMusicScore(const TScoreSongInfo* settings, const TServices& services)
    : fonts(std::make_unique<TMusicFontsData>()) {
  staves.reserve(kInitialStaffRoom);
  ResetEditorState();
  Reset(services);
  if (settings) songInfo = *settings;
}

TMusicScore::~TMusicScore() {
  while (!staves.empty()) staves.pop_back();
}

void TMusicScore::Reset(const TServices& services) {
  includeFlags.SetAll(false);
  includeFlags.Set(0, true);
  songInfo.Clear();
  margins = PageSetupDefaultsOf(services).GetDefaultMargins();
  zoom = 8;
  pageNumbers = 0;
  staffLabels = 0;
  barNumbers = 0;
  startingBar = 1;
  date.SetToday();
  optionsA = kDefaultOptionsA;
  optionsB = kDefaultOptionsB;
}

// --- editor state ---

void TMusicScore::SetEditorState(int active, int caret, int select, int pos) {
  activeStaff = active;
  caretIndex = caret;
  selectIndex = select;
  caretPos = pos;
}

void TMusicScore::ResetEditorState() { SetEditorState(-1, -1, -1, 0); }

bool TMusicScore::HasSelection() const {
  return caretIndex > 0 && selectIndex > 0 && caretIndex != selectIndex;
}

int TMusicScore::GetSelectionEnd() const { return HasSelection() ? selectIndex : caretIndex; }

// --- options ---

void TMusicScore::SetOptionA(uint8_t bit, bool on) {
  optionsA = static_cast<uint8_t>(on ? (optionsA | bit) : (optionsA & ~bit));
}

void TMusicScore::SetOptionB(uint8_t bit, bool on) {
  optionsB = static_cast<uint8_t>(on ? (optionsB | bit) : (optionsB & ~bit));
}

void TMusicScore::SetExperimental(bool flag) {
  SetOptionA(kOptExperimental, flag || UsesExperimentalFeatures());
}

bool TMusicScore::UsesExperimentalFeatures() const {
  return std::any_of(staves.begin(), staves.end(),
                     [](const auto& staff) { return staff->GetMultiPartDotPlacement(); });
}

// --- properties ---

bool TMusicScore::GetSongInfoProperty(int index, TKVVariant& value) const {
  if (index < 0 || index >= kSongInfoFieldCount) return false;
  value.SetWideString(songInfo.Get(index));
  return true;
}

bool TMusicScore::GetPageOptionProperty(int index, TKVVariant& value) const {
  switch (index) {
    case 0: value.SetBool(GetTitlePage()); break;
    case 1: value.SetBool(GetJustifyVertically()); break;
    case 2: value.SetBool(GetPrintSystemSepMark()); break;
    case 3: value.SetBool(GetExtendLastSystem()); break;
    case 4: value.SetBool(GetDurationPadding()); break;
    case 5: value.SetInt(pageNumbers); break;
    case 6: value.SetString(GetNameListEntry(kNameListStaffLabelPrinting, staffLabels)); break;
    case 7: value.SetString(GetNameListEntry(kNameListBarNumberStyles, barNumbers)); break;
    case 8: value.SetInt(startingBar); break;
    case 9: value.SetBool(GetAllowLayering()); break;
    default: return false;
  }
  return true;
}

bool TMusicScore::GetMarginProperty(int index, TKVVariant& value) const {
  constexpr float kCentimetresPerInch = 2.54f;
  switch (index) {
    case 0: value.SetReal(margins.left * kCentimetresPerInch); break;
    case 1: value.SetReal(margins.top * kCentimetresPerInch); break;
    case 2: value.SetReal(margins.right * kCentimetresPerInch); break;
    case 3: value.SetReal(margins.bottom * kCentimetresPerInch); break;
    case 4: value.SetBool(margins.mirror); break;
    default: return false;
  }
  return true;
}

// --- staff array ---

TMusicStaff* TMusicScore::GetStaff(int i) const {
  if (i < 0 || i > GetLastIndex()) return nullptr;
  return staves[static_cast<size_t>(i)].get();
}

int TMusicScore::IndexOfStaff(const TMusicStaff* staff) const {
  const auto it = std::find_if(staves.begin(), staves.end(),
                               [staff](const auto& held) { return held.get() == staff; });
  return it == staves.end() || staff == nullptr ? -1 : static_cast<int>(it - staves.begin());
}

void TMusicScore::AddStaff(std::unique_ptr<TMusicStaff> staff) {
  KVT_PRECONDITION(GetLastIndex() < (MaxScoreStaffs-1));
  KVT_PRECONDITION(staff != nullptr);
  staves.push_back(std::move(staff));
  includeFlags.Set(GetLastIndex(), true);
}

void TMusicScore::InsertStaff(std::unique_ptr<TMusicStaff> staff, int i) {
  KVT_PRECONDITION(GetLastIndex() < (MaxScoreStaffs-1));
  KVT_PRECONDITION(staff != nullptr);
  if (i > GetLastIndex()) {
    AddStaff(std::move(staff));
    return;
  }
  const int at = std::max(i, 0);
  staves.insert(staves.begin() + at, std::move(staff));
  includeFlags.InsertBit(at, true);
}

bool TMusicScore::TryAddStaff(std::unique_ptr<TMusicStaff>& staff) {
  if (!staff || GetStaffCount() >= MaxScoreStaffs) return false;
  AddStaff(std::move(staff));
  return true;
}

bool TMusicScore::TryInsertStaff(std::unique_ptr<TMusicStaff>& staff, int i) {
  if (!staff || GetStaffCount() >= MaxScoreStaffs) return false;
  InsertStaff(std::move(staff), i);
  return true;
}

std::unique_ptr<TMusicStaff> TMusicScore::DetachStaff(int atIndex) {
  KVT_PRECONDITION(atIndex >= 0);
  KVT_PRECONDITION(atIndex <= GetLastIndex());
  std::unique_ptr<TMusicStaff> staff = std::move(staves[static_cast<size_t>(atIndex)]);
  staves.erase(staves.begin() + atIndex);
  includeFlags.RemoveBit(atIndex);
  return staff;
}

}  // namespace kvt
