// The kind accessors of the simple index: the current item as one kind, or null, through the
// checked downcast, so a wrong kind is never reinterpreted.

#include "notation/items/bar_line_data.h"
#include "notation/items/chord_data.h"
#include "notation/items/clef_data.h"
#include "notation/items/dynamic_level_data.h"
#include "notation/items/dynamic_variance.h"
#include "notation/items/flow_direction.h"
#include "notation/items/generic_control.h"
#include "notation/items/item_cast.h"
#include "notation/items/key_data.h"
#include "notation/items/multi_measure_rest.h"
#include "notation/items/notation_marker.h"
#include "notation/items/patch_data.h"
#include "notation/items/rest_chord.h"
#include "notation/index/simple_ntn_idx.h"
#include "notation/items/repeat_ending.h"
#include "notation/items/staff_sizer.h"
#include "notation/items/staff_spacer.h"
#include "notation/items/sustain_pedal.h"
#include "notation/items/tempo_data.h"
#include "notation/items/tempo_variance.h"
#include "notation/items/text_expression.h"
#include "notation/items/time_signature_data.h"
#include "notation/items/user_object.h"

namespace kvt {

namespace {

// The item as a Kind when its type code is exactly `type`: a note but not a chord, a rest but
// not a rest chord.
template <typename Kind>
Kind* AsExactly(TNotatedItem* item, TNotatedItemType type) {
  return item && item->GetType() == type ? ItemAs<Kind>(item) : nullptr;
}

}  // namespace

TNtnGeneralExpression* TSimpleNtnIdx::GetExpression() const {
  return ItemAs<TNtnGeneralExpression>(GetItem());
}

TMusicNote* TSimpleNtnIdx::GetNoteOrChord() const {
  return ItemAs<TMusicNote>(GetItem());
}

TRestNote* TSimpleNtnIdx::GetRest() const { return GetItem() ? GetItem()->AsRest() : nullptr; }

TMusicNote* TSimpleNtnIdx::GetNotePart() const {
  if (TMusicNote* note = GetNoteOrChord()) return note;
  if (TRestChord* restChord = GetRestChord()) return restChord->GetPart();
  return nullptr;
}

TSongNote* TSimpleNtnIdx::GetSongNote() const {
  return ItemAs<TSongNote>(GetItem());
}

TClefData* TSimpleNtnIdx::GetClef() const { return ItemAs<TClefData>(GetItem()); }
TKeyData* TSimpleNtnIdx::GetKey() const { return ItemAs<TKeyData>(GetItem()); }
TBarLineData* TSimpleNtnIdx::GetBarLine() const {
  return ItemAs<TBarLineData>(GetItem());
}
TSpecialEnding* TSimpleNtnIdx::GetEnding() const {
  return ItemAs<TSpecialEnding>(GetItem());
}
TPatchData* TSimpleNtnIdx::GetPatch() const { return ItemAs<TPatchData>(GetItem()); }
TTimeSignatureData* TSimpleNtnIdx::GetTimeSig() const {
  return ItemAs<TTimeSignatureData>(GetItem());
}
TTempoData* TSimpleNtnIdx::GetTempo() const { return ItemAs<TTempoData>(GetItem()); }
TDynamicLevelData* TSimpleNtnIdx::GetDynamic() const {
  return ItemAs<TDynamicLevelData>(GetItem());
}
TMusicNote* TSimpleNtnIdx::GetNote() const { return AsExactly<TMusicNote>(GetItem(), kItemNote); }
TRestNote* TSimpleNtnIdx::GetRestNote() const { return AsExactly<TRestNote>(GetItem(), kItemRest); }
TChordData* TSimpleNtnIdx::GetChord() const { return ItemAs<TChordData>(GetItem()); }
TSustainPedal* TSimpleNtnIdx::GetSustainPedal() const {
  return ItemAs<TSustainPedal>(GetItem());
}
TFlowDirection* TSimpleNtnIdx::GetFlow() const {
  return ItemAs<TFlowDirection>(GetItem());
}
TGenericControl* TSimpleNtnIdx::GetGenericControl() const {
  return ItemAs<TGenericControl>(GetItem());
}
TTempoVariance* TSimpleNtnIdx::GetTempoVariance() const {
  return ItemAs<TTempoVariance>(GetItem());
}
TDynamicVariance* TSimpleNtnIdx::GetDynamicVariance() const {
  return ItemAs<TDynamicVariance>(GetItem());
}
TTextExpression* TSimpleNtnIdx::GetText() const {
  return ItemAs<TTextExpression>(GetItem());
}
TRestChord* TSimpleNtnIdx::GetRestChord() const {
  return ItemAs<TRestChord>(GetItem());
}
TKVTUserObject* TSimpleNtnIdx::GetUserObject() const {
  return ItemAs<TKVTUserObject>(GetItem());
}
TStaffSpacer* TSimpleNtnIdx::GetSpacer() const {
  return ItemAs<TStaffSpacer>(GetItem());
}
TMultiMeasureRest* TSimpleNtnIdx::GetMultiMeasureRest() const {
  return ItemAs<TMultiMeasureRest>(GetItem());
}
TStaffSizer* TSimpleNtnIdx::GetStaffSizer() const {
  return ItemAs<TStaffSizer>(GetItem());
}
TNotationMarker* TSimpleNtnIdx::GetMarker() const {
  return ItemAs<TNotationMarker>(GetItem());
}

TTempoVariance* TSimpleNtnIdx::GetTempoVarianceAbove2() const {
  TTempoVariance* variance = GetTempoVariance();
  return variance && variance->GetStyle() > 2 ? variance : nullptr;
}

TMusicNote* TSimpleNtnIdx::GetChordPart() const { return GetNotePart(); }

TMemberRange TSimpleNtnIdx::GetStemSide(int dir) const {
  TMusicNote* part = GetChordPart();
  if (!part) return {};
  const int count = part->GetMemberCount();
  if (part->GetType() != kItemChord || !part->HasSplitStem()) return {0, count};
  // A split chord keeps its down-stem voice first (members sorted from the lowest note, the
  // down-stem member first at equal positions).
  int boundary = 0;
  while (boundary < count && part->GetMember(boundary)->GetStemSetting() == kStemDown)
    ++boundary;
  return dir < 0 ? TMemberRange{0, boundary} : TMemberRange{boundary, count - boundary};
}

bool TSimpleNtnIdx::IsOnBarBoundary() const {
  const TNotatedItem* at = GetItem();
  return at && (at->GetType() == kItemBarLine || at->GetType() == kItemMultiBarRest);
}

bool TSimpleNtnIdx::IsOnDurationItem() const {
  const TNotatedItem* at = GetItem();
  return at && (at->IsSongNoteClass() || at->GetType() == kItemMultiBarRest);
}

TSpecialEnding* TSimpleNtnIdx::GetPlayedEnding() const {
  TSpecialEnding* ending = GetEnding();
  return ending && ending->HasAnyEnding() ? ending : nullptr;
}

float TSimpleNtnIdx::GetItemPos() const {
  if (TNtnGeneralExpression* expression = GetExpression()) return expression->GetPos();
  if (TKVTUserObject* object = GetUserObject()) return object->GetPos();
  if (TNotationMarker* marker = GetMarker()) return marker->GetPos();
  return GetItem() ? static_cast<float>(GetItem()->GetStaffPos()) : 0.0f;
}

int TSimpleNtnIdx::GetHairpin() const {
  if (const TSongNote* note = GetSongNote()) return note->GetHairpin();
  if (const TDynamicVariance* variance = GetDynamicVariance()) return variance->GetRampDirection();
  return 0;
}

bool TSimpleNtnIdx::IsInHairpinRun(int kind) const {
  const TNotatedItem* at = GetItem();
  if (!at) return false;
  if (at->GetType() == kItemDynamic || at->GetType() == kItemDynamicVariance) return false;
  if (const TSongNote* note = GetSongNote()) {
    const int hairpin = note->GetHairpin();
    return hairpin == 0 || hairpin == kind;
  }
  return true;
}

const char* TSimpleNtnIdx::GetClefKeyTag() const {
  const TNotatedItem* at = GetItem();
  if (!at) return nullptr;
  if (at->GetType() == kItemClef) return ":clef";
  if (at->GetType() == kItemKey) return ":key";
  if (const TKVTUserObject* object = GetUserObject())
    if (object->GetClass() == kUserClassStaffSig) return object->GetTypeName().c_str();
  return nullptr;
}

}  // namespace kvt
