#include "notation/staff/staff_utils.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <iterator>
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

// Piece lengths, longest first: plain and dotted values, then the triplet values.
constexpr int kPlainLengths[] = {1152, 768, 576, 384, 288, 192, 144, 96, 72, 48, 36, 24, 18, 12};
constexpr int kTripletLengths[] = {512, 256, 128, 64, 32, 16, 8};
constexpr uint8_t kNoSum = 255;

// The fewest pieces of the given lengths that add up to each count up to kMaxTiedTicks
// (kNoSum: none do). Each count depends only on the smaller ones, so one table serves every
// length; it is built once per kind, on first use (C++ makes that thread-safe).
std::vector<uint8_t> BuildFewestPieces(bool triplets) {
  std::vector<uint8_t> fewest(static_cast<size_t>(kMaxTiedTicks) + 1, kNoSum);
  fewest[0] = 0;
  for (int t = 1; t <= kMaxTiedTicks; ++t) {
    auto consider = [&](int length) {
      if (length <= t && fewest[t - length] != kNoSum)
        fewest[t] = std::min<uint8_t>(fewest[t], static_cast<uint8_t>(fewest[t - length] + 1));
    };
    for (int length : kPlainLengths) consider(length);
    if (triplets)
      for (int length : kTripletLengths) consider(length);
  }
  return fewest;
}

// The table for counts 0..kMaxTiedTicks.
const std::vector<uint8_t>& FewestPieces(bool triplets) {
  if (triplets) {
    static const std::vector<uint8_t> withTriplets = BuildFewestPieces(true);
    return withTriplets;
  }
  static const std::vector<uint8_t> plain = BuildFewestPieces(false);
  return plain;
}

// The fewest pieces adding up to ticks exactly, longest first at each step; empty when none.
std::vector<int> ExactPieces(int ticks, bool triplets) {
  const std::vector<uint8_t>& fewest = FewestPieces(triplets);
  std::vector<int> pieces;
  if (fewest[ticks] == kNoSum) return pieces;
  std::vector<int> lengths(std::begin(kPlainLengths), std::end(kPlainLengths));
  if (triplets) lengths.insert(lengths.end(), std::begin(kTripletLengths), std::end(kTripletLengths));
  std::sort(lengths.begin(), lengths.end(), std::greater<int>());
  for (int left = ticks; left > 0;) {
    for (int length : lengths) {
      if (length <= left && fewest[left - length] == fewest[left] - 1) {
        pieces.push_back(length);
        left -= length;
        break;
      }
    }
  }
  return pieces;
}

}  // namespace

int FoldPitch(int pitch) {
  int folded = pitch % 12;
  if (folded < 0) folded += 12;
  // The highest pitch of the class that stays within 0..127, or the lowest for a negative one.
  if (pitch < 0) return folded;
  return pitch > 127 ? folded + 12 * ((127 - folded) / 12) : pitch;
}

std::vector<int> TiedPieceLengths(int ticks, bool allowTriplets) {
  ticks = std::clamp(ticks, 0, kMaxTiedTicks);
  std::vector<int> pieces = ExactPieces(ticks, false);
  if (pieces.empty() && ticks > 0 && allowTriplets) pieces = ExactPieces(ticks, true);
  if (!pieces.empty() || ticks == 0) return pieces;
  for (int left = ticks; left >= kShortestFitTicks;) {
    const int length = *std::find_if(std::begin(kPlainLengths), std::end(kPlainLengths),
                                     [left](int l) { return l <= left; });
    pieces.push_back(length);
    left -= length;
  }
  return pieces;
}

int NearestExactSplit(int head, int total, bool allowTriplets) {
  total = std::clamp(total, 0, kMaxTiedTicks);
  const std::vector<uint8_t>& fewest = FewestPieces(allowTriplets);
  auto splits = [&](int h) { return h > 0 && h < total && fewest[h] != kNoSum && fewest[total - h] != kNoSum; };
  for (int d = 0; d <= total; ++d) {
    if (splits(head - d)) return head - d;
    if (splits(head + d)) return head + d;
  }
  return head;
}

bool IsTripletLength(int ticks) {
  return std::find(std::begin(kTripletLengths), std::end(kTripletLengths), ticks) !=
         std::end(kTripletLengths);
}

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
