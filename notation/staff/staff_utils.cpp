#include "notation/staff/staff_utils.h"

#include <memory>

#include "notation/items/item_cast.h"
#include "notation/items/chord_data.h"
#include "notation/items/music_note.h"
#include "notation/items/packed_field.h"
#include "notation/items/rest_chord.h"
#include "notation/items/rest_note.h"
#include "notation/items/time_signature_data.h"
#include "utils/precondition.h"

namespace kvt {

namespace {

constexpr int kMaxBarBeats = 128;
constexpr int kMaxBeatExponent = 7;
constexpr int kPitchCount = 128;

// One duration a fitted item can take.
struct TFitCandidate {
  int ticks;
  int code;
  bool dotted;
  bool triplet;
};

// Gives one song note the candidate's code, dots and triplet state.
void ApplyFit(TSongNote& note, const TFitCandidate& c) {
  note.SetDuration(c.code);
  note.ClearNoteFlag(kFlagDotted);
  note.ClearNoteFlag(kFlagDblDotted);
  if (c.dotted) note.SetNoteFlag(kFlagDotted);
  note.SetTripletState(c.triplet ? kGroupFirst : kGroupNone);
}

// The fitting candidate for `ticks`: the first of the ordered list not above it, else the
// shortest of the list.
TFitCandidate FindFit(int ticks, bool allowTriplets) {
  TFitCandidate best{kWholeNoteTicks * 3 / 2, kDurWhole, true, false};
  if (best.ticks <= ticks) return best;
  for (int code = kDurWhole; code < kDurationCodeCount; ++code) {
    const int plain = GetDurationTicks(code);
    if (code > kDurWhole) {
      best = {plain * 3 / 2, code, true, false};
      if (best.ticks <= ticks) return best;
    }
    best = {plain, code, false, false};
    if (best.ticks <= ticks) return best;
    if (allowTriplets) {
      best = {plain * 2 / 3, code, false, true};
      if (best.ticks <= ticks) return best;
    }
  }
  return best;  // the shortest candidate
}

std::unique_ptr<TMusicNote> MakeTiedNoteCopy(TMusicNote& source) {
  auto copy = std::make_unique<TMusicNote>(source.GetStaffPos(), kDurQuarter, 0,
                                           source.GetAccidental());
  copy->SetStemDir(source.GetStemSetting());
  copy->SetNoteHead(source.GetHeadShape());
  if (source.IsTieOut()) copy->SetNoteFlag(kFlagTieOut);
  source.SetNoteFlag(kFlagTieOut);
  return copy;
}

int FoldPitch(int pitch) {
  int folded = pitch % 12;
  if (folded < 0) folded += 12;
  // The highest pitch of the class that stays within 0..127, or the lowest for a negative one.
  if (pitch < 0) return folded;
  return pitch > 127 ? folded + 12 * ((127 - folded) / 12) : pitch;
}

}  // namespace

int ClampToInterval(int value, int lo, int hi) {
  KVT_PRECONDITION(lo <= hi);
  return value < lo ? lo : (value > hi ? hi : value);
}

int GetBarDuration(int beats, int exponent) {
  return ClampInt(beats, 1, kMaxBarBeats) *
         (kWholeNoteTicks >> ClampInt(exponent, 0, kMaxBeatExponent));
}

int GetBeatDuration(int beats, int exponent, bool dottedBeats) {
  const int b = ClampInt(beats, 1, kMaxBarBeats);
  const int beat = GetBarDuration(b, exponent) / b;
  if (dottedBeats && b % 3 == 0 && b / 3 >= 2) return beat * 3;
  return beat;
}

int GetTimeSigBeatDuration(const TTimeSignatureData& timeSig, bool dottedBeats) {
  return GetBeatDuration(timeSig.GetBeats(), timeSig.GetBeatExponent(), dottedBeats);
}

int GetDurationTicks(int code) {
  if (code < 0) code = 0;
  return code >= 10 ? 0 : kWholeNoteTicks >> code;
}

bool IsTied(const TNotatedItem* item) {
  if (!item) return false;
  if (item->GetType() == kItemNote) return ItemAs<TMusicNote>(item)->IsTieOut();
  if (item->GetType() != kItemChord) return false;
  const int n = item->GetMemberCount();
  for (int i = 0; i < n; ++i)
    if (item->GetMember(i)->IsTieOut()) return true;
  return false;
}

int SetItemDurationToFit(TNotatedItem* item, int ticks, bool allowTriplets) {
  if (!item || !item->IsSongNoteClass()) return 0;
  auto* song = ItemAs<TSongNote>(item);
  const TFitCandidate fit = FindFit(ticks, allowTriplets);
  const int n = item->GetMemberCount();
  for (int i = 0; i < n; ++i) {
    TMusicNote* member = item->GetMember(i);
    if (member != item) ApplyFit(*member, fit);
  }
  if (item->GetType() == kItemRestChord) {
    // The part's own fields (a chord part's duration is its reference member's).
    TMusicNote* part = ItemAs<TRestChord>(item)->GetPart();
    if (part && part->GetType() == kItemChord) {
      ApplyFit(*part, fit);
      part->Update();
    }
  }
  if (TRestNote* rest = item->AsRest()) rest->ClearTickLength();
  ApplyFit(*song, fit);
  song->Update();
  return fit.ticks;
}

std::unique_ptr<TNotatedItem> MakeTiedCopy(TNotatedItem* item) {
  const int type = item ? item->GetType() : -1;
  if (type != kItemNote && type != kItemRest && type != kItemChord)
    ThrowPrecondition("Bad Notation", __FILE__, __LINE__);
  if (type == kItemNote) return MakeTiedNoteCopy(*ItemAs<TMusicNote>(item));
  if (type == kItemRest) {
    auto rest = std::make_unique<TRestNote>(kDurQuarter, 0);
    rest->SetStemDir(ItemAs<TRestNote>(item)->GetStemSetting());
    return rest;
  }
  auto chord = std::make_unique<TChordData>();
  const int n = item->GetMemberCount();
  for (int i = 0; i < n; ++i) {
    std::unique_ptr<TMusicNote> copy = MakeTiedNoteCopy(*item->GetMember(i));
    // Copies of the members of one chord fit together; one the chord still refuses (a unison
    // of two voices now of one length) is left out rather than kept outside any owner.
    chord->AddNote(copy);
  }
  ItemAs<TChordData>(item)->Update();
  return chord;
}

int TieAll(TNotatedItem* item) {
  if (!item) return 0;
  if (item->GetType() == kItemNote || item->GetType() == kItemChord)
    ItemAs<TMusicNote>(item)->SetNoteFlag(kFlagTieOut);
  const int n = item->GetMemberCount();
  for (int i = 0; i < n; ++i) item->GetMember(i)->SetNoteFlag(kFlagTieOut);
  return n;
}

int GetClefBasePosition(int clef) { return TStaffContextState::GetClefBase(clef); }

void PitchToStaffPosition(int clef, int key, int pitch, int& position, int& accidental) {
  KVT_PRECONDITION(pitch >= 0);
  // Folding first keeps the pitch class of a pitch above 127.
  TMusicNote::SpellPitchOnStaff(clef, key, FoldPitch(pitch), position, accidental);
}

std::string GetMidiNoteName(int pitch) {
  static constexpr char kLetter[12] = {'C', 'C', 'D', 'D', 'E', 'F',
                                       'F', 'G', 'G', 'A', 'A', 'B'};
  static constexpr bool kBlack[12] = {false, true,  false, true,  false, false,
                                      true,  false, true,  false, true,  false};
  const int p = FoldPitch(pitch);
  std::string name;
  name += kLetter[p % 12];
  name += kBlack[p % 12] ? '#' : ' ';
  name += std::to_string(p / 12 - 1);
  return name;
}

void BuildMidiNoteNames(std::string& buffer) {
  buffer.clear();
  for (int p = 0; p < kPitchCount; ++p) {
    buffer += GetMidiNoteName(p);
    buffer += '\0';
  }
  buffer += '\0';
}

int GetAccidentalClearance(int first, int second) {
  if (first == kAccNatural && second == kAccFlat) return 6;
  if (first == kAccNatural && second == kAccNatural) return 5;
  if (first == kAccDoubleSharp && second == kAccDoubleSharp) return 3;
  auto upper = [](int code) {
    switch (code) {
      case kAccFlat:
      case kAccDoubleFlat:
      case kAccDoubleSharp: return 2;
      case kAccSharp:
      case kAccNatural: return 3;
      default: return 0;
    }
  };
  auto lower = [](int code) {
    switch (code) {
      case kAccFlat:
      case kAccDoubleFlat: return 4;
      case kAccDoubleSharp: return 2;
      case kAccSharp:
      case kAccNatural: return 3;
      default: return 0;
    }
  };
  return upper(first) + lower(second);
}

}  // namespace kvt
