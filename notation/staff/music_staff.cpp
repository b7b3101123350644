// Construction, properties and item access of a staff.

#include "notation/staff/music_staff.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "notation/audit/audit_walk_cache.h"
#include "notation/items/item_cast.h"
#include "notation/items/bar_line_data.h"
#include "notation/items/lyric_text.h"
#include "notation/items/name_lists.h"
#include "notation/items/notated_item.h"
#include "notation/staff/staff_lyrics.h"
#include "notation/items/staff_spacer.h"
#include "utils/precondition.h"
#include "utils/text_copy.h"
#include "utils/variant.h"

namespace kvt {

namespace {

// Room reserved up front: most staves never grow past it.
constexpr size_t kInitialItemRoom = 1025;

template <size_t N>
void StoreField(char16_t (&field)[N], std::u16string_view text) {
  const std::u16string copy(text);
  CopyWideStringMax(field, copy.c_str(), static_cast<int>(N));
}

}  // namespace

TStaffItemSpan GetStaffItems(const TMusicStaff* staff) {
  return staff ? staff->GetItems() : TStaffItemSpan();
}

TMusicStaff::TMusicStaff() {
  StoreField(name, u"Staff");
  StoreField(group, u"Standard");
  items.reserve(kInitialItemRoom);
  items.push_back(std::make_unique<TBarLineData>(kBarSingle));
  items.push_back(std::make_unique<TBarLineData>(kBarSectionClose));
}

TAuditWalkCache& TMusicStaff::AuditWalkCache() {
  if (!auditWalkCache) auditWalkCache = std::make_unique<TAuditWalkCache>();
  return *auditWalkCache;
}

TMusicStaff::~TMusicStaff() {
  while (!items.empty()) items.pop_back();
  lyrics.reset();
}

// --- names ---

void TMusicStaff::SetName(std::u16string_view text) { StoreField(name, text); }
void TMusicStaff::SetLabel(std::u16string_view text) { StoreField(label, text); }
void TMusicStaff::SetLabelAbbr(std::u16string_view text) { StoreField(labelAbbr, text); }
void TMusicStaff::SetGroup(std::u16string_view text) { StoreField(group, text); }

const char16_t* TMusicStaff::GetLabel(bool full) const {
  if (full || labelAbbr[0] == u'\0') return label;
  return labelAbbr;
}

bool TMusicStaff::IsGroupUnderscore() const { return std::u16string_view(group) == u"_"; }

// --- playback ---

void TMusicStaff::SetChannel(int c) { channel = std::clamp(c, 0, 15); }
void TMusicStaff::SetDevice(int d) { device = d < 0 ? 0 : d; }
void TMusicStaff::SetVolume(int v) { volume = v > 127 ? 127 : v; }
void TMusicStaff::SetStereoPan(int p) { stereoPan = p > 127 ? 127 : p; }

// --- drawing ---

void TMusicStaff::SetEndingBar(int code) {
  endingBar = (code >= kEndBarSectionClose && code <= kEndBarOpen) ? code : kEndBarSectionClose;
  if (items.empty()) return;
  if (auditWalkCache) auditWalkCache->DropFrom(GetLastIndex());
  // The array invariant makes the last item a bar line; test anyway, never cast blindly.
  TNotatedItem* last = items.back().get();
  if (last->GetType() == kItemBarLine) ItemAs<TBarLineData>(last)->SetStaffEndStyle(endingBar);
}

void TMusicStaff::SetBoundaries(int top, int bottom) {
  // With more than 100 lines the outer limit wins, so the order of min and max matters.
  boundaryTop = std::max(-100, std::min(top, -static_cast<int>(lines)));
  boundaryBottom = std::min(100, std::max(bottom, static_cast<int>(lines)));
}

void TMusicStaff::SetLines(int n) {
  lines = static_cast<uint8_t>(std::clamp(n, 0, 255));
  SetBoundaries(boundaryTop, boundaryBottom);
}

int TMusicStaff::GetTopLinePosition() const {
  if (lines == 0) return 0;
  return -2 * ((lines - 1) / 2);
}

int TMusicStaff::GetBottomLinePosition() const { return (lines / 2) * 2; }

void TMusicStaff::SetColor(int c) { color = static_cast<uint8_t>((c >= 0 && c <= 7) ? c : 0); }

void TMusicStaff::SetConnection(uint8_t bit, bool on) {
  connection = static_cast<uint8_t>(on ? (connection | bit) : (connection & ~bit));
}

bool TMusicStaff::GetProperty(int index, TKVVariant& value) const {
  switch (index) {
    case kStaffPropName: value.SetWideString(name); break;
    case kStaffPropLabel: value.SetWideString(label); break;
    case kStaffPropLabelAbbr: value.SetWideString(labelAbbr); break;
    case kStaffPropGroup: value.SetWideString(group); break;
    case kStaffPropEndingBar:
      value.SetString(GetNameListEntry(kNameListEndingBars, endingBar));
      break;
    case kStaffPropBoundaryTop: value.SetInt(std::abs(boundaryTop)); break;
    case kStaffPropBoundaryBottom: value.SetInt(std::abs(boundaryBottom)); break;
    case kStaffPropLines: value.SetInt(lines); break;
    case kStaffPropBracketWithNext: value.SetBool(GetBracketWithNext()); break;
    case kStaffPropBraceWithNext: value.SetBool(GetBraceWithNext()); break;
    case kStaffPropConnectBarsWithNext: value.SetBool(GetConnectBarsWithNext()); break;
    case kStaffPropLayerWithNext: value.SetBool(GetLayerWithNext()); break;
    case kStaffPropMultiPartDotPlacement: value.SetBool(GetMultiPartDotPlacement()); break;
    case kStaffPropColor: value.SetInt(color); break;
    case kStaffPropMuted: value.SetBool(IsMuted()); break;
    case kStaffPropVolume: value.SetInt(volume); break;
    case kStaffPropStereoPan: value.SetInt(stereoPan); break;
    case kStaffPropDevice: value.SetInt(device); break;
    case kStaffPropChannel: value.SetInt(channel); break;
    default: return false;
  }
  return true;
}

// --- lyrics ---

TStaffLyrics& TMusicStaff::MakeLyrics() {
  if (!lyrics) lyrics = std::make_unique<TStaffLyrics>();
  return *lyrics;
}

void TMusicStaff::ClearLyrics() {
  if (!lyrics) return;
  for (int i = 0; i < lyrics->GetCount(); ++i) lyrics->GetLine(i)->Clear();
}

// --- item access ---

TNotatedItem* TMusicStaff::GetLastItem() const { return items.empty() ? nullptr : items.back().get(); }

int TMusicStaff::ClampInsertIndex(int i) const {
  // Between the boundary bar lines: before index 0 or after the closing bar line would break
  // the array invariant.
  return std::clamp(i, 1, std::max(1, GetLastIndex()));
}

int TMusicStaff::InsertItem(std::unique_ptr<TNotatedItem> item, int i) {
  KVT_PRECONDITION(! IsFull());
  KVT_PRECONDITION(item != nullptr);
  const int at = ClampInsertIndex(i);
  if (auditWalkCache) auditWalkCache->DropFrom(at);
  items.insert(items.begin() + at, std::move(item));
  return at;
}

bool TMusicStaff::TryInsertItem(std::unique_ptr<TNotatedItem>& item, int i) {
  if (!item || IsFull()) return false;
  InsertItem(std::move(item), i);
  return true;
}

std::unique_ptr<TNotatedItem> TMusicStaff::DetachItem(int i) {
  if (i <= 0 || i >= GetLastIndex()) return nullptr;
  if (auditWalkCache) auditWalkCache->DropFrom(i);
  std::unique_ptr<TNotatedItem> item = std::move(items[static_cast<size_t>(i)]);
  items.erase(items.begin() + i);
  return item;
}

bool TMusicStaff::DeleteItem(int i) {
  std::unique_ptr<TNotatedItem> item = DetachItem(i);
  return item != nullptr;
}

void TMusicStaff::DeleteItems(int first, int last) {
  if (first <= 0) return;
  last = std::min(last, GetLastIndex() - 1);
  if (last < first) return;
  if (auditWalkCache) auditWalkCache->DropFrom(first);
  for (int i = last; i >= first; --i) items[static_cast<size_t>(i)].reset();
  items.erase(items.begin() + first, items.begin() + last + 1);
}

int TMusicStaff::AdjustSpacer(int delta, int i) {
  TNotatedItem* item = GetItem(i);
  if (!item || item->GetType() != kItemSpacer) item = GetItem(i - 1);
  if (!item || item->GetType() != kItemSpacer) return 0;
  auto* spacer = ItemAs<TStaffSpacer>(item);
  const int before = spacer->GetWidthValue();
  spacer->AdjustWidth(delta);
  return spacer->GetWidthValue() - before;
}

}  // namespace kvt
