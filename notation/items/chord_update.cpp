// The chord's re-layout after any change: the chord's settings pushed onto the members, the
// reference member and stem direction, tie directions and head columns.

#include <cstdlib>

#include "notation/items/chord_data.h"

namespace kvt {

namespace {

// Flags a member keeps of its own; the rest comes from the chord.
constexpr uint16_t kMemberOwnFlags = kMaskDotted | kMaskTieOut | kMaskDblDotted |
                                     kMaskCrescendo | kMaskDiminuendo;
constexpr uint16_t kDirectionFlags = kMaskTieDirection | kMaskSlurDirection;
constexpr uint16_t kDotFlags = kMaskDotted | kMaskDblDotted;

// 0 no dot, 1 dotted, 2 double dotted.
int DotKind(const TSongNote& n) { return n.IsDblDotted() ? 2 : (n.IsDotted() ? 1 : 0); }

void CopyDots(TSongNote& to, const TSongNote& from) {
  to.SetFlags((to.GetFlags() & ~kDotFlags) | (from.GetFlags() & kDotFlags));
}

}  // namespace

void TChordData::Update() {
  const int n = GetMemberCount();
  if (n == 0) return;
  const bool split = HasSplitStem();
  const uint16_t chordFlags = GetFlags();

  // 1. The chord's settings onto every member; tied members noted for step 4.
  const TMusicNote* firstTied = nullptr;
  const TMusicNote* lastTied = nullptr;
  const TMusicNote* nearTied = nullptr;
  const TMusicNote* tieInTied = nullptr;
  int tiedCount = 0;
  for (int i = 0; i < n; ++i) {
    TMusicNote& m = *members[i];
    m.SetVisibility(GetVisibility());
    m.SetLyric(GetLyric());
    m.SetXNoteSpace(GetXNoteSpace());
    m.SetTieDown(IsTieDown());
    m.SetSlurDown(IsSlurDown());
    m.SetMuted(IsMuted());
    m.SetNoLegerLines(GetNoLegerLines());
    m.SetArticulationsOnStem(GetArticulationsOnStem());
    m.SetChordMember(true);
    uint16_t flags = (m.GetFlags() & kMemberOwnFlags) | (chordFlags & kDirectionFlags);
    if (IsGrace()) flags |= kMaskGrace;
    m.SetFlags(flags);
    m.SetSlurIn(false);
    m.SetBeamState(kGroupNone);
    m.SetTripletState(kGroupNone);
    m.ClearStemLength();
    if (i > 0) {
      TMusicNote& prev = *members[i - 1];
      if (prev.GetStaffPos() == m.GetStaffPos()) {
        if (m.GetRawAccidental() == kAccNone)
          m.SetRawAccidental(prev.GetRawAccidental());
        else if (prev.GetRawAccidental() == kAccNone)
          prev.SetRawAccidental(m.GetRawAccidental());
      }
    }
    // 2.
    if (m.IsTieOut()) {
      if (!firstTied) firstTied = &m;
      if (!nearTied && lastTied && std::abs(m.GetStaffPos() - lastTied->GetStaffPos()) <= 1)
        nearTied = &m;
      if (m.IsTieIn() &&
          (!tieInTied || (!m.IsTieDown() && tieInTied->IsTieDown())))
        tieInTied = &m;
      lastTied = &m;
      ++tiedCount;
    }
  }

  // 3. Reference member and stem direction.
  const TMusicNote* lowest = members.front();
  const TMusicNote* highest = members.back();
  int d = GetStemDir();
  const TMusicNote* ref = highest;
  if (GetStemSetting() == kStemAuto && !IsGrace()) {
    ref = std::abs(lowest->GetStaffPos()) > std::abs(highest->GetStaffPos()) ? lowest : highest;
    d = ref->GetStaffPos() < 0 ? -1 : 1;
    if (split) SetStemDirFromSign(d);
  }
  if (GetStemSetting() == kStemDown) ref = lowest;
  TMusicNote::SetStaffPos(ref->GetStaffPos());
  SetDuration(ref->GetDurationCode());
  CopyDots(*this, *ref);
  SetFlags(GetFlags() & ~kMaskTieOut);
  SetTieIn(false);

  // 4. Where ties turn from upward to downward.
  int e = lowest->GetStaffPos() + 1;
  if (!split && tiedCount > 0) {
    if (nearTied)
      e = nearTied->GetStaffPos() + 1;
    else if (tieInTied)
      e = tieInTied->GetStaffPos() + (tieInTied->IsTieDown() ? 0 : 1);
    else if (tiedCount > 1)
      e = firstTied->GetStaffPos() - (firstTied->GetStaffPos() - lastTied->GetStaffPos()) / 2;
    else if (d > 0)
      e = highest->GetStaffPos();
  }

  // 5. Stems, grouping, articulations and ties.
  const bool tieExplicit = (chordFlags & kMaskTieDirection) != 0;
  const int chordDuration = GetNotatedDuration();
  for (const auto& member : members) {
    TMusicNote& m = *member;
    if (!split) m.SetStemDirFromSign(d);
    if (HasStemLength()) m.SetRawStemLength(GetRawStemLength());
    if (m.GetStemDir() == d) {
      m.SetBeamState(GetBeamState());
      m.SetTripletState(GetTripletState());
      uint16_t add = 0;
      if (chordFlags & kMaskAccent)
        add |= kMaskAccent;
      else if (chordFlags & kMaskMarcato)
        add |= kMaskMarcato;
      if (chordFlags & kMaskStaccatissimo)
        add |= kMaskStaccatissimo;
      else if (chordFlags & kMaskStaccato)
        add |= kMaskStaccato;
      add |= chordFlags & (kMaskTenuto | kMaskSlur);
      m.SetFlags(m.GetFlags() | add);
      m.SetSlurIn(IsSlurIn());
    } else if (m.GetNotatedDuration() < chordDuration) {
      m.SetDuration(GetDurationCode());
      CopyDots(m, *this);
    }
    if (m.IsTieOut()) {
      SetFlags(GetFlags() | kMaskTieOut);
      if (!tieExplicit) m.SetTieDown(split ? m.GetStemDir() < 0 : m.GetStaffPos() >= e);
    }
    if (m.IsTieIn()) SetTieIn(true);
  }

  // 6.
  LayoutHeadColumns();
}

void TChordData::LayoutHeadColumns() {
  const int n = GetMemberCount();
  const bool split = HasSplitStem();
  auto at = [this](int i) -> TMusicNote& { return *members[i]; };
  auto isDown = [&](int i) { return at(i).GetStemSetting() == kStemDown; };
  // Update has given every member of a single-stem chord the chord's direction, so the
  // down-stem members below are the whole chord or none of it.
  int cDown = 0;
  int cUp = 0;
  bool meeting = false;
  bool unison = false;
  bool dotsDiffer = false;
  bool upperDotted = false;
  bool cannotShare = false;
  bool secondBelow = false;
  bool secondAbove = false;
  const bool looseArticulations = HasArticulation() && !GetArticulationsOnStem();
  for (int i = 0; i + 1 < n; ++i) {
    TMusicNote& m1 = at(i);
    TMusicNote& m2 = at(i + 1);
    if (m1.GetStaffPos() - m2.GetStaffPos() > 1) continue;
    if (!split) {
      cDown = 1;
      break;
    }
    if (!isDown(i) && !isDown(i + 1)) {
      cUp = 1;
    } else if (isDown(i) && isDown(i + 1)) {
      cDown = 1;
    } else if (isDown(i)) {
      meeting = true;
      dotsDiffer = DotKind(m1) != DotKind(m2);
      upperDotted = DotKind(m2) != 0;
      unison = m1.GetStaffPos() == m2.GetStaffPos();
      if (unison) {
        cannotShare = (looseArticulations && n > 2) ||
                      m1.GetNotatedDuration() != m2.GetNotatedDuration() ||
                      !m1.HasVisibleStem() || !m2.HasVisibleStem();
        secondBelow = i > 0 && at(i - 1).GetStaffPos() - m1.GetStaffPos() == 1;
        secondAbove = i + 2 < n && m2.GetStaffPos() - at(i + 2).GetStaffPos() == 1;
      }
    }
  }

  int u = split ? cDown : 0;
  int l = 0;
  const int notDown = cDown ? 0 : 1;
  if (meeting && !unison) {
    u = 0;
    l = notDown;
    if (dotsDiffer) l = cUp + notDown + (upperDotted ? 1 : 0);
  } else if (meeting && cannotShare) {
    u = 0;
    l = 1;
    if (dotsDiffer || secondBelow || secondAbove)
      l = cUp + notDown + (upperDotted ? (secondBelow ? 2 : 1) : 0);
    else if (cDown)
      l = 0;
  }

  // Lower voice, from its highest member downward.
  int top = -1;
  for (int i = 0; i < n; ++i)
    if (isDown(i)) top = i;
  for (int i = top; i >= 0; --i) {
    if (!isDown(i)) continue;
    at(i).SetHeadShift(l + cDown);
    if (i > 0 && isDown(i - 1) && at(i - 1).GetStaffPos() == at(i).GetStaffPos() + 1) {
      at(i - 1).SetHeadShift(l);
      --i;
    }
  }
  // Upper voice, from its lowest member upward.
  for (int i = 0; i < n; ++i) {
    if (isDown(i)) continue;
    at(i).SetHeadShift(u);
    if (i + 1 < n && !isDown(i + 1) && at(i + 1).GetStaffPos() == at(i).GetStaffPos() - 1) {
      at(i + 1).SetHeadShift(u + 1);
      ++i;
    }
  }

  const int shift = (u + cUp) > (l + cDown) ? (u + cUp) : (l + cDown);
  SetHeadShift(shift);
  splitSideFlags = static_cast<uint8_t>((cDown << 1) | cUp);
}

}  // namespace kvt
