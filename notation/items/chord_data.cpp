#include "notation/items/chord_data.h"

#include <cstdlib>

namespace kvt {

namespace {

int Opposite(int stemSetting) { return stemSetting == kStemUp ? kStemDown : kStemUp; }

// Member order: lower on the staff first; at one position a down stem first.
bool SortsBefore(const TMusicNote& a, const TMusicNote& b) {
  if (a.GetStaffPos() != b.GetStaffPos()) return a.GetStaffPos() > b.GetStaffPos();
  return a.GetStemSetting() == kStemDown && b.GetStemSetting() != kStemDown;
}

}  // namespace

TChordData::TChordData(std::unique_ptr<TMusicNote> first, std::unique_ptr<TMusicNote> second)
    : TMusicNote(0, kDurQuarter, 0, kAccNone) {
  if (first) AddNote(first);
  if (second) AddNote(second);
}

TChordData::~TChordData() = default;

bool TChordData::WouldTake(const TMusicNote& first, const TMusicNote& second) {
  auto standIn = [](const TMusicNote& note) {
    auto copy = std::make_unique<TMusicNote>(note.GetStaffPos(), note.GetDurationCode(),
                                             note.GetFlags(), note.GetRawAccidental());
    copy->Assign(note);
    return copy;
  };
  TChordData trial(standIn(first));
  if (trial.GetMemberCount() != 1) return false;
  std::unique_ptr<TMusicNote> candidate = standIn(second);
  return trial.AddNote(candidate);
}

void TChordData::Assign(const TNotatedItem& src) {
  TMusicNote::Assign(src);
  if (!members.empty()) Update();
}

TMusicNote* TChordData::GetMember(int i) const {
  if (i < 0 || i >= GetMemberCount()) return nullptr;
  return members[i];
}

TMusicNote* TChordData::GetFirstNote() const { return GetMember(0); }
TMusicNote* TChordData::GetLastNote() const { return GetMember(GetMemberCount() - 1); }

int TChordData::GetTopPos() const { return members.empty() ? 0 : members.back()->GetStaffPos(); }

int TChordData::GetBottomPos() const {
  return members.empty() ? 0 : members.front()->GetStaffPos();
}

int TChordData::GetStaffPos() const {
  const int t = GetTopPos();
  const int b = GetBottomPos();
  // b >= t, so the halving is a floor.
  int m = b - (b - t) / 2;
  if (std::abs(b) < std::abs(t)) --m;
  return m;
}

void TChordData::ApplyToContext(TStaffContextState& state) const {
  for (const auto& member : members) member->ApplyToContext(state);
  if (IsChordMember() || IsRestChordPart()) return;
  const TMusicNote* first = GetFirstNote();
  ApplySongStep(state, first ? !first->IsMuted() : GetVisibility() != kVisNever);
}

void TChordData::Perform(TStaffContextState& state, TMidiFileBuf* buffer) const {
  if (!buffer) return;
  for (const auto& member : members) member->PerformNote(state, *buffer, IsMuted());
}

void TChordData::SetBeamState(int state) {
  TMusicNote::SetBeamState(state);
  Update();
}

void TChordData::SetTripletState(int state) {
  TMusicNote::SetTripletState(state);
  Update();
}

bool TChordData::HasSplitStem() const {
  return members.size() >= 2 &&
         members.front()->GetStemSetting() != members.back()->GetStemSetting();
}

bool TChordData::HasTwoDurations() const {
  return !members.empty() &&
         members.front()->GetNotatedDuration() != members.back()->GetNotatedDuration();
}

bool TChordData::HasShiftedHeads(int stemDir) const {
  if (!HasSplitStem()) return GetHeadColumns() > 1;
  if (stemDir == 0) stemDir = GetStemDir();
  return stemDir < 0 ? (splitSideFlags & 2) != 0 : (splitSideFlags & 1) != 0;
}

int TChordData::GetAccidentalSpace() const {
  for (const auto& member : members)
    if (member->GetRawAccidental() != kAccNone) return GetXAccSpace() + 1;
  return GetXAccSpace();
}

void TChordData::AuditStep(const TStaffContextState& state) {
  TSongNote::AuditStep(state);
  for (const auto& member : members) member->AuditStep(state);
  Update();
}

int TChordData::GetVoiceBoundary() const {
  int k = 0;
  const int n = GetMemberCount();
  while (k < n && members[k]->GetStemSetting() == kStemDown) ++k;
  return k;
}

int TChordData::GetStemRootIndex(int stemDir) const {
  const int n = GetMemberCount();
  if (n == 0) return -1;
  if (stemDir == 0) stemDir = GetStemDir();
  if (!HasSplitStem()) return stemDir < 0 ? n - 1 : 0;
  const int k = GetVoiceBoundary();
  if (stemDir < 0) return k > 0 ? k - 1 : 0;
  return k < n ? k : n - 1;
}

TMusicNote* TChordData::GetSecondDurationNote() const {
  if (members.empty()) return nullptr;
  return members.back()->GetStemSetting() == GetStemSetting() ? members.front()
                                                               : members.back();
}

bool TChordData::InsertSorted(std::unique_ptr<TMusicNote>& note) {
  int index = 0;
  while (index < members.size() && !SortsBefore(*note, *members[index])) ++index;
  TMusicNote* member = note.get();
  if (!members.Insert(index, note)) return false;
  member->SetChordMember(true);
  return true;
}

void TChordData::ResortMembers() {
  for (int i = 1; i < members.size(); ++i) {
    int j = i;
    while (j > 0 && SortsBefore(*members[j], *members[j - 1])) {
      members.Swap(j, j - 1);
      --j;
    }
  }
}

bool TChordData::AddNote(std::unique_ptr<TMusicNote>& note) {
  // Members are plain notes; a chord inside a chord has no meaning.
  if (!note || note->GetType() != kItemNote) return false;
  if (members.size() >= TChordMembers::kMaxCount) return false;

  // 2. The first note gives the chord its settings.
  if (members.empty()) {
    Assign(*note);
    SetStemDir(note->GetStemSetting());
    InsertSorted(note);
    Update();
    return true;
  }

  const int pos = note->GetStaffPos();
  const TMusicNote* p = members.front();
  const TMusicNote* q = members.back();
  const TMusicNote* r = FindMemberAtPos(pos);
  const bool split = HasSplitStem();
  const int c = GetStemSetting();
  int b = note->GetStemSetting();

  // 1. Unisons.
  bool unisonSingle = false;
  if (r) {
    if (split) {
      if (b == r->GetStemSetting()) return false;
      b = Opposite(r->GetStemSetting() == kStemDown ? kStemDown : kStemUp);
    } else {
      if (members.size() >= 2) {
        if (pos == p->GetStaffPos()) {
          if (b == kStemUp) return false;
          b = kStemDown;
        } else if (pos == q->GetStaffPos()) {
          if (b == kStemDown) return false;
          b = kStemUp;
        } else {
          return false;
        }
      }
      unisonSingle = true;
    }
  }

  // 3. Durations, and a note that makes the chord split.
  const int chordDuration = GetNotatedDuration();
  int noteDuration = note->GetNotatedDuration();
  if (!note->IsTriplet() && IsTriplet() && b == c && noteDuration * 2 / 3 == chordDuration)
    noteDuration = chordDuration;
  const int durP = p->GetNotatedDuration();
  const int durQ = q->GetNotatedDuration();
  const bool newDuration = noteDuration != durP && noteDuration != durQ;
  if (newDuration && split) return false;
  const bool makesSplit = !split && (newDuration || unisonSingle);
  int chordStemAfter = c;
  if (makesSplit) {
    if (b == kStemAuto)
      b = (pos > p->GetStaffPos() || (pos == p->GetStaffPos() && IsStemUp())) ? kStemDown
                                                                              : kStemUp;
    if (b == c) return false;
    if (b == kStemUp && pos > q->GetStaffPos()) return false;
    if (b == kStemDown && pos < p->GetStaffPos()) return false;
    chordStemAfter = noteDuration < durP ? b : Opposite(b);
  }

  if (split) {
    // 4. Joining one voice of a split-stem chord.
    const int k = GetVoiceBoundary();
    const int n = GetMemberCount();
    if (k == 0 || k >= n) return false;
    const int topLower = members[k - 1]->GetStaffPos();
    const int bottomUpper = members[k]->GetStaffPos();
    if (b == kStemAuto) {
      if (durP == durQ)
        b = pos > topLower ? kStemDown : kStemUp;
      else
        b = noteDuration == durP ? kStemDown : kStemUp;
    }
    if (b == kStemDown) {
      if (pos < bottomUpper || (r && pos >= topLower) || noteDuration != durP) return false;
    } else {
      if (pos > topLower || (r && pos <= bottomUpper) || noteDuration != durQ) return false;
    }
    note->SetStemDir(b);
    if (note->IsSlurOut()) SetNoteFlag(kFlagSlur);
  } else {
    // 5. Single-stem chord (or one just made split).
    const int chordStem = c == kStemAuto && !makesSplit ? b : chordStemAfter;
    if (b != kStemAuto && b != chordStem) {
      if (b == kStemUp && pos > q->GetStaffPos()) return false;
      if (b == kStemDown && pos < p->GetStaffPos()) return false;
    }
    // Accepted from here on.
    if (makesSplit) {
      if (c == kStemAuto) {
        SetStemDir(Opposite(b));
        Update();
      }
      SetStemDir(chordStemAfter);
    } else if (c == kStemAuto) {
      SetStemDir(b);
      Update();
    }
    if (b == kStemAuto) b = members.front()->GetStemSetting();
    note->SetStemDir(b);
    note->SetTieDirection(GetTieDirection());
    if (members.size() == 1 && noteDuration < durP) {
      // The base setters: the chord's own re-run Update, which would give the lone member the
      // new stem before the note is in and so undo a split.
      TMusicNote::SetBeamState(note->GetBeamState());
      TMusicNote::SetTripletState(note->GetTripletState());
      SetDuration(note->GetDurationCode());
      SetFlags(note->GetFlags());
    }
  }

  // 6.
  InsertSorted(note);
  Update();
  return true;
}

std::unique_ptr<TMusicNote> TChordData::RemoveNote(const TMusicNote* member) {
  int index = 0;
  while (index < members.size() && members[index] != member) ++index;
  if (index == members.size()) return nullptr;
  const bool wasSplit = HasSplitStem();
  std::unique_ptr<TMusicNote> note = members.Take(index);
  note->SetChordMember(false);
  note->SetHeadShift(0);
  if (GetStemSetting() == kStemAuto) note->SetStemDir(kStemAuto);
  if (wasSplit && !HasSplitStem()) {
    if (!members.empty()) SetStemDir(members.front()->GetStemSetting());
    SetArticulationsOnStem(false);
  }
  if (!members.empty()) Update();
  return note;
}

}  // namespace kvt
