// The kind accessors of the simple index: the current item as one kind, or null. Each tests
// the type code (or kind predicate) before it casts, so a wrong kind is never reinterpreted.

#include "notation/items/bar_line_data.h"
#include "notation/items/chord_data.h"
#include "notation/items/clef_data.h"
#include "notation/items/dynamic_level_data.h"
#include "notation/items/dynamic_variance.h"
#include "notation/items/flow_direction.h"
#include "notation/items/generic_control.h"
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

template <typename Kind>
Kind* As(TNotatedItem* item, int type) {
  return item && item->GetType() == type ? static_cast<Kind*>(item) : nullptr;
}

}  // namespace

TNtnGeneralExpression* TSimpleNtnIdx::GetExpression() const {
  TNotatedItem* at = GetItem();
  return at && at->IsExpressionClass() ? static_cast<TNtnGeneralExpression*>(at) : nullptr;
}

TMusicNote* TSimpleNtnIdx::GetNoteOrChord() const {
  TNotatedItem* at = GetItem();
  return at && at->IsMusicNoteClass() ? static_cast<TMusicNote*>(at) : nullptr;
}

TRestNote* TSimpleNtnIdx::GetRest() const { return GetItem() ? GetItem()->AsRest() : nullptr; }

TMusicNote* TSimpleNtnIdx::GetNotePart() const {
  if (TMusicNote* note = GetNoteOrChord()) return note;
  if (TRestChord* restChord = GetRestChord()) return restChord->GetPart();
  return nullptr;
}

TSongNote* TSimpleNtnIdx::GetSongNote() const {
  TNotatedItem* at = GetItem();
  return at && at->IsSongNoteClass() ? static_cast<TSongNote*>(at) : nullptr;
}

TClefData* TSimpleNtnIdx::GetClef() const { return As<TClefData>(GetItem(), kItemClef); }
TKeyData* TSimpleNtnIdx::GetKey() const { return As<TKeyData>(GetItem(), kItemKey); }
TBarLineData* TSimpleNtnIdx::GetBarLine() const {
  return As<TBarLineData>(GetItem(), kItemBarLine);
}
TSpecialEnding* TSimpleNtnIdx::GetEnding() const {
  return As<TSpecialEnding>(GetItem(), kItemEnding);
}
TPatchData* TSimpleNtnIdx::GetPatch() const { return As<TPatchData>(GetItem(), kItemPatch); }
TTimeSignatureData* TSimpleNtnIdx::GetTimeSig() const {
  return As<TTimeSignatureData>(GetItem(), kItemTimeSig);
}
TTempoData* TSimpleNtnIdx::GetTempo() const { return As<TTempoData>(GetItem(), kItemTempo); }
TDynamicLevelData* TSimpleNtnIdx::GetDynamic() const {
  return As<TDynamicLevelData>(GetItem(), kItemDynamic);
}
TMusicNote* TSimpleNtnIdx::GetNote() const { return As<TMusicNote>(GetItem(), kItemNote); }
TRestNote* TSimpleNtnIdx::GetRestNote() const { return As<TRestNote>(GetItem(), kItemRest); }
TChordData* TSimpleNtnIdx::GetChord() const { return As<TChordData>(GetItem(), kItemChord); }
TSustainPedal* TSimpleNtnIdx::GetSustainPedal() const {
  return As<TSustainPedal>(GetItem(), kItemSustainPedal);
}
TFlowDirection* TSimpleNtnIdx::GetFlow() const {
  return As<TFlowDirection>(GetItem(), kItemFlow);
}
TGenericControl* TSimpleNtnIdx::GetGenericControl() const {
  return As<TGenericControl>(GetItem(), kItemGenericControl);
}
TTempoVariance* TSimpleNtnIdx::GetTempoVariance() const {
  return As<TTempoVariance>(GetItem(), kItemTempoVariance);
}
TDynamicVariance* TSimpleNtnIdx::GetDynamicVariance() const {
  return As<TDynamicVariance>(GetItem(), kItemDynamicVariance);
}
TTextExpression* TSimpleNtnIdx::GetText() const {
  return As<TTextExpression>(GetItem(), kItemText);
}
TRestChord* TSimpleNtnIdx::GetRestChord() const {
  return As<TRestChord>(GetItem(), kItemRestChord);
}
TKVTUserObject* TSimpleNtnIdx::GetUserObject() const {
  return As<TKVTUserObject>(GetItem(), kItemUserObject);
}
TStaffSpacer* TSimpleNtnIdx::GetSpacer() const {
  return As<TStaffSpacer>(GetItem(), kItemSpacer);
}
TMultiMeasureRest* TSimpleNtnIdx::GetMultiMeasureRest() const {
  return As<TMultiMeasureRest>(GetItem(), kItemMultiBarRest);
}
TStaffSizer* TSimpleNtnIdx::GetStaffSizer() const {
  return As<TStaffSizer>(GetItem(), kItemBoundary);
}
TNotationMarker* TSimpleNtnIdx::GetMarker() const {
  return As<TNotationMarker>(GetItem(), kItemMarker);
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
