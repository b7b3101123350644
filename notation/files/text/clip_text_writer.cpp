// WriteClipText: a run of staff items as a clip, with the optional context lines.

#include <algorithm>

#include "notation/audit/audit_ntn_idx.h"
#include "notation/items/clef_data.h"
#include "notation/files/text/clip_text.h"
#include "notation/items/key_data.h"
#include "notation/services/long_task_cancel.h"
#include "notation/staff/music_staff.h"
#include "notation/items/name_lists.h"
#include "notation/index/rel_ntn_idx.h"
#include "notation/files/text/score_text_format.h"
#include "notation/files/text/score_text_numbers.h"
#include "notation/files/text/score_text_writer.h"
#include "notation/staff/staff_range.h"
#include "notation/context/staff_context_state.h"
#include "notation/context/staff_tie_list.h"
#include "notation/items/time_signature_data.h"
#include "utils/stream.h"

namespace kvt {

namespace {

constexpr char kAccidentalLetters[] = "#bnxv";

// The item at i when it is of the kind; null otherwise (also for i = -1).
template <typename T>
const T* ItemOfKind(const TMusicStaff& staff, int i, int kind) {
  const TNotatedItem* item = staff.GetItem(i);
  return (item && item->GetType() == kind) ? static_cast<const T*>(item) : nullptr;
}

// The context lines of a run that starts at `first`.
void AppendContext(TMusicStaff& staff, int first, std::string& out) {
  auto endLine = [&] { out += "\r\n"; };
  // The bar that holds the run opens at the bar line before it (the staff's own at worst).
  int opening = first - 1;
  while (opening > 0) {
    const TNotatedItem* item = staff.GetItem(opening);
    if (item && item->GetType() == kItemBarLine) break;
    --opening;
  }
  if (opening < 0) opening = 0;

  // Clef, key and time signature in force where the bar starts, when an item set them.
  int clefIndex = -1;
  int timeSigIndex = -1;
  int keyIndex = -1;
  staff.FindContextItems(opening, &clefIndex, &timeSigIndex, &keyIndex);
  if (const auto* clef = ItemOfKind<TClefData>(staff, clefIndex, kItemClef)) {
    if (clef->GetClefType() != kClefTreble || clef->GetOctaveShift() != kOctaveShiftNone) {
      out += "|Fake|Clef|Type:";
      out += GetNameListEntry(kNameListClefs, clef->GetClefType());
      if (clef->GetOctaveShift() != kOctaveShiftNone) {
        out += "|OctaveShift:";
        out += GetNameListEntry(kNameListClefOctaveShifts, clef->GetOctaveShift());
      }
      endLine();
    }
  }
  if (const auto* key = ItemOfKind<TKeyData>(staff, keyIndex, kItemKey)) {
    if (key->GetSharpsMask() != 0 || key->GetFlatsMask() != 0) {
      out += "|Fake";
      AppendItemLine(out, *key, kTextModeScore);
      endLine();
    }
  }
  if (const auto* sig = ItemOfKind<TTimeSignatureData>(staff, timeSigIndex, kItemTimeSig)) {
    if (sig->GetStyle() != kTimeSigStandard || sig->GetBeats() != 4 || sig->GetBeatExponent() != 2) {
      out += "|Fake";
      AppendItemLine(out, *sig, kTextModeScore);
      endLine();
    }
  }
  // The transposition an instrument change set before the bar (the walk starts from none).
  TStaffContextState state;
  staff.GetPlayStateAt(opening, state);
  if (state.GetTransposition() != 0) {
    out += "|Fake|Instrument|Trans:";
    AppendIntText(out, state.GetTransposition());
    endLine();
  }
  // Notes tied into the bar from before it.
  TAuditNtnIdx audit(&staff);
  audit.SetIndex(opening);
  const TStaffTieList& ties = audit.GetTieList();
  for (int i = 0; i < ties.GetCount(); ++i) {
    TStaffTieEntry entry;
    if (!ties.GetEntry(i, entry)) continue;
    out += "|Fake|Note|Dur:8th,Grace|Pos:";
    if (entry.GetAccidental() >= 0 && entry.GetAccidental() < 5) out += kAccidentalLetters[entry.GetAccidental()];
    AppendIntText(out, -entry.GetPosition());
    out += '^';
    endLine();
  }
  // The bar so far: its opening bar line (not the staff's own) and the items before the run.
  for (int i = std::max(opening, 1); i < first; ++i) {
    if (const TNotatedItem* item = staff.GetItem(i)) {
      out += "|Fake";
      AppendItemLine(out, *item, kTextModeScore);
      endLine();
    }
  }
  TRelNtnIdx bars(&staff, first);
  out += "|Context|Bar:";
  AppendIntText(out, bars.GetBarNumber(nullptr));
  if (opening == first - 1) out += ",AtStart";
  endLine();
}

}  // namespace

void WriteClipText(TMusicStaff& staff, int first, int last, TKRVStream& stream, bool alwaysFramed,
                   bool withContext, const TServices& services) {
  first = std::clamp(first, 0, staff.GetLastIndex());
  last = std::clamp(last, -1, staff.GetLastIndex());
  std::string out;
  if (first == last && !alwaysFramed && !withContext) {
    if (const TNotatedItem* item = staff.GetItem(first)) AppendItemLine(out, *item, kTextModeLone);
    stream.Write(out.data(), static_cast<int>(out.size()));
    return;
  }
  out += kClipHeaderLine;
  out += "\r\n";
  if (withContext) AppendContext(staff, first, out);
  TLongTaskCancel& cancel = LongTaskCancelOf(services);
  for (int i = first; i <= last; ++i) {
    if (cancel.CheckCancel()) break;
    if (const TNotatedItem* item = staff.GetItem(i)) {
      AppendItemLine(out, *item, kTextModeScore);
      out += "\r\n";
    }
    if (out.size() >= 64 * 1024) {
      stream.Write(out.data(), static_cast<int>(out.size()));
      out.clear();
    }
  }
  out += kClipEndLine;
  out += "\r\n";
  stream.Write(out.data(), static_cast<int>(out.size()));
}

void WriteClipText(const TStaffRange& range, TKRVStream& stream, bool alwaysFramed, bool withContext,
                   const TServices& services) {
  if (range.IsValid()) {
    WriteClipText(*range.GetStaff(), range.GetFirst(), range.GetLast(), stream, alwaysFramed, withContext,
                  services);
    return;
  }
  std::string out = kClipHeaderLine;
  out += "\r\n";
  out += kClipEndLine;
  out += "\r\n";
  stream.Write(out.data(), static_cast<int>(out.size()));
}

}  // namespace kvt
