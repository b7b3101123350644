// The search operations of the simple index. Each moves through the virtual Step, so a
// derived index keeps its running information right while it searches.

#include <cstring>

#include "notation/items/bar_line_data.h"
#include "notation/items/item_cast.h"
#include "notation/items/flow_direction.h"
#include "notation/items/multi_measure_rest.h"
#include "notation/items/notation_marker.h"
#include "notation/index/simple_ntn_idx.h"
#include "notation/items/song_note.h"
#include "notation/items/repeat_ending.h"
#include "notation/items/staff_sizer.h"
#include "notation/items/user_object.h"

namespace kvt {

namespace {

using TFindStep = TSimpleNtnIdx::TFindStep;

TFindStep FoundIf(bool found) { return found ? TFindStep::kFound : TFindStep::kContinue; }

const TSongNote* AsSongNote(const TNotatedItem& item) {
  return ItemAs<TSongNote>(&item);
}

bool IsDurationItem(const TNotatedItem& item) {
  return item.IsSongNoteClass() || item.GetType() == kItemMultiBarRest;
}

bool IsRepeatCloseBar(const TNotatedItem& item) {
  return item.GetType() == kItemBarLine && ItemRef<TBarLineData>(item).IsRepeatClose();
}

bool IsLaterEnding(const TNotatedItem& item) {
  return item.GetType() == kItemEnding && ItemRef<TSpecialEnding>(item).IsLaterEnding();
}

bool IsGap(const TNotatedItem& item) {
  return item.GetType() == kItemBoundary &&
         ItemRef<TStaffSizer>(item).GetStyle() == kSizerGap;
}

int FlowStyle(const TNotatedItem& item) {
  return item.GetType() == kItemFlow ? ItemRef<TFlowDirection>(item).GetStyle() : -1;
}

// Where a search inside the bar ends: an ending or flow mark, and moving back a bar line
// other than a Single one.
bool EndsBarSearch(const TNotatedItem& item, int dir) {
  if (item.GetType() == kItemEnding || item.GetType() == kItemFlow) return true;
  return dir < 0 && item.GetType() == kItemBarLine &&
         ItemRef<TBarLineData>(item).GetStyle() != kBarSingle;
}

}  // namespace

bool TSimpleNtnIdx::FindType(int type, int dir) {
  return FindIf(dir, [type](const TNotatedItem& at) { return FoundIf(at.GetType() == type); });
}

bool TSimpleNtnIdx::FindSongNote(int dir) {
  return FindIf(dir, [](const TNotatedItem& at) { return FoundIf(at.IsSongNoteClass()); });
}

bool TSimpleNtnIdx::FindDurationItem(int dir) {
  return FindIf(dir, [](const TNotatedItem& at) { return FoundIf(IsDurationItem(at)); });
}

bool TSimpleNtnIdx::FindNonGraceDurationItem(int dir) {
  return FindIf(dir, [](const TNotatedItem& at) {
    const TSongNote* note = AsSongNote(at);
    return FoundIf(IsDurationItem(at) && !(note && note->IsGrace()));
  });
}

bool TSimpleNtnIdx::FindBarBoundary(int dir) {
  return FindIf(dir, [](const TNotatedItem& at) {
    return FoundIf(at.GetType() == kItemBarLine || at.GetType() == kItemMultiBarRest);
  });
}

bool TSimpleNtnIdx::FindDynamicMark(int dir) {
  return FindIf(dir, [](const TNotatedItem& at) {
    return FoundIf(at.GetType() == kItemDynamic || at.GetType() == kItemDynamicVariance);
  });
}

bool TSimpleNtnIdx::FindSongNoteWithGrace(bool graceBit, int dir) {
  return FindIf(dir, [graceBit](const TNotatedItem& at) {
    const TSongNote* note = AsSongNote(at);
    return FoundIf(note && note->IsGrace() == graceBit);
  });
}

bool TSimpleNtnIdx::FindItemWithNotes(int dir) {
  return FindIf(dir, [](const TNotatedItem& at) { return FoundIf(at.HasNotes()); });
}

bool TSimpleNtnIdx::FindLyricNote(int dir) {
  return FindIf(dir, [](const TNotatedItem& at) {
    const TSongNote* note = AsSongNote(at);
    return FoundIf(note && note->TakesLyric());
  });
}

bool TSimpleNtnIdx::FindNoteWithMemberAt(int position, int dir) {
  return FindIf(dir, [position](const TNotatedItem& at) {
    return FoundIf(at.IsSongNoteClass() && at.FindMemberAtPos(position) != nullptr);
  });
}

bool TSimpleNtnIdx::FindSongNoteInBar(int dir) {
  return FindIf(dir, [dir](const TNotatedItem& at) {
    if (EndsBarSearch(at, dir)) return TFindStep::kStop;
    return FoundIf(at.IsSongNoteClass());
  });
}

bool TSimpleNtnIdx::FindNotesInBar(int dir) {
  return FindIf(dir, [dir](const TNotatedItem& at) {
    if (EndsBarSearch(at, dir)) return TFindStep::kStop;
    return FoundIf(at.HasNotes());
  });
}

bool TSimpleNtnIdx::FindUserObject(int dir, const char* typeName, const char* property) {
  return FindIf(dir, [typeName, property](const TNotatedItem& at) {
    if (at.GetType() != kItemUserObject) return TFindStep::kContinue;
    const auto& object = ItemRef<TKVTUserObject>(at);
    if (typeName && object.GetTypeName() != typeName) return TFindStep::kContinue;
    return FoundIf(!property || object.FindParamIndex(property) >= 0);
  });
}

bool TSimpleNtnIdx::FindUserObjectOfKind(int kind, int dir) {
  return FindIf(dir, [kind](const TNotatedItem& at) {
    return FoundIf(at.GetType() == kItemUserObject &&
                   ItemRef<TKVTUserObject>(at).GetClass() == kind);
  });
}

bool TSimpleNtnIdx::FindTaggedItem(int dir) {
  while (CanMove(dir)) {
    if (!Step(dir)) return false;
    if (GetClefKeyTag()) return true;
  }
  return false;
}

// Stops with true at the note that continues the tie (forward: a member tied in) or starts it
// (back: a member with its Tied flag), at the position with a matching accidental. Repeats,
// later endings and gaps end the search: a tie does not run across them. At a Coda the search
// steps back one item and gives up, at D.C. al Coda or D.S. al Coda one item forward: play
// jumps there, so the tie has no target in item order.
bool TSimpleNtnIdx::FindTieTarget(int position, int accidental, bool passHidden, int dir) {
  while (CanMove(dir)) {
    if (!Step(dir) || !GetItem()) return false;
    const TNotatedItem& at = *GetItem();
    if (IsRepeatCloseBar(at) || IsLaterEnding(at) || IsGap(at)) return false;
    const int flow = FlowStyle(at);
    if (flow == kFlowCoda) {
      Prev();
      return false;
    }
    if (flow == kFlowDCalCoda || flow == kFlowDSalCoda) {
      Next();
      return false;
    }
    // With passHidden, a hidden note that both continues and starts the tie is passed over
    // (FindTieMember answers null for it).
    if (at.IsSongNoteClass() && at.FindTieMember(position, dir > 0, accidental, passHidden))
      return true;
  }
  return false;
}

bool TSimpleNtnIdx::FindSlurEnd(int dir) {
  const TSongNote* start = GetSongNote();
  if (!start) return false;
  const bool graceStart = start->IsGrace();
  while (CanMove(dir)) {
    if (!Step(dir) || !GetItem()) return false;
    const TNotatedItem& at = *GetItem();
    if (IsRepeatCloseBar(at) || IsGap(at)) return false;
    if (at.GetType() == kItemEnding &&
        (graceStart || ItemRef<TSpecialEnding>(at).IsLaterEnding()))
      return false;
    const TSongNote* note = AsSongNote(at);
    if (!note) continue;
    const bool continues = dir > 0 ? note->IsSlurOut() : note->IsSlurIn();
    const bool passes = graceStart ? note->IsGrace() && continues : continues || note->IsGrace();
    if (!passes) return true;
  }
  return false;
}

bool TSimpleNtnIdx::FindMarkerFor(int target) {
  return FindIf(-1, [target](const TNotatedItem& at) {
    if (at.GetType() == kItemMarker)
      return FoundIf((ItemRef<TNotationMarker>(at).GetTarget() & target) != 0);
    if (at.GetType() == kItemBarLine || IsDurationItem(at)) return TFindStep::kStop;
    return TFindStep::kContinue;
  });
}

}  // namespace kvt
