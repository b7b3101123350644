#include "notation/items/item_cast.h"
#include "notation/items/rest_chord.h"

#include <utility>

namespace kvt {

namespace {

// Flags a rest chord's rest keeps: Dotted, TieOut, Slur, DblDotted, Grace, the direction flags,
// Crescendo and Diminuendo.
constexpr uint16_t kRestKeptFlags = kMaskDotted | kMaskTieOut | kMaskSlur | kMaskDblDotted |
                                    kMaskGrace | kMaskTieDirection | kMaskSlurDirection |
                                    kMaskCrescendo | kMaskDiminuendo;
// The five articulations and marks 6 and 7: they belong to the notes.
constexpr uint16_t kPartArticulations = kArticulationMask | kMaskMarkA | kMaskMarkB;
constexpr uint16_t kDotFlags = kMaskDotted | kMaskDblDotted;

// Gives a note the rest's duration code and dots.
void TakeDuration(TSongNote& to, const TSongNote& from) {
  to.SetDuration(from.GetDurationCode());
  to.SetFlags((to.GetFlags() & ~kDotFlags) | (from.GetFlags() & kDotFlags));
}

int OppositeSetting(int stemDir) { return stemDir < 0 ? kStemUp : kStemDown; }

}  // namespace

TRestChord::TRestChord(int durationCode, int flagWord) : TRestNote(durationCode, flagWord) {}

TRestChord::~TRestChord() = default;

void TRestChord::Assign(const TNotatedItem& src) {
  TRestNote::Assign(src);
  if (part) Update();
}

int TRestChord::GetMemberCount() const { return part ? part->GetMemberCount() : 0; }

TMusicNote* TRestChord::GetMember(int i) const { return part ? part->GetMember(i) : nullptr; }

void TRestChord::ApplyToContext(TStaffContextState& state) const {
  if (part) part->ApplyToContext(state);
  if (IsChordMember() || IsRestChordPart()) return;
  const TMusicNote* first = GetMember(0);
  ApplySongStep(state, first ? !first->IsMuted() : GetVisibility() != kVisNever);
}

void TRestChord::Perform(TStaffContextState& state, TMidiFileBuf* buffer) const {
  if (part) part->Perform(state, buffer);
}

void TRestChord::SetDuration(int code) {
  TRestNote::SetDuration(code);
  Update();
}

bool TRestChord::HasTwoDurations() const {
  return part && part->GetNotatedDuration() != GetNotatedDuration();
}

int TRestChord::GetHeadColumns() const { return part ? part->GetHeadColumns() : 0; }

int TRestChord::GetAccidentalSpace() const { return part ? part->GetAccidentalSpace() : 0; }

void TRestChord::AuditStep(const TStaffContextState& state) {
  TSongNote::AuditStep(state);
  if (part) part->AuditStep(state);
  Update();
}

bool TRestChord::Transpose(const TStaffContextState& state, int semitones, int steps,
                           bool testOnly) {
  if (!part) return true;
  const bool ok = part->Transpose(state, semitones, steps, testOnly);
  if (!testOnly) ResetPartTieDirections();
  return ok;
}

void TRestChord::Respell(const TStaffContextState& state) {
  if (!part) return;
  part->Respell(state);
  ResetPartTieDirections();
}

bool TRestChord::TakesLyricByDefault() const { return part && part->TakesLyric(); }

void TRestChord::ResetPartTieDirections() {
  if (!part || (part->GetFlags() & kMaskTieDirection)) return;
  const bool down = part->GetStemDir() < 0;
  const int n = part->GetMemberCount();
  for (int i = 0; i < n; ++i) {
    TMusicNote* m = part->GetMember(i);
    if (m && m->IsTieOut() && !m->IsTieIn()) m->SetTieDown(down);
  }
}

void TRestChord::Update() {
  const uint16_t articulations = GetFlags() & kPartArticulations;
  // 1.
  ClearTickLength();
  SetTieIn(false);
  SetFlags(GetFlags() & kRestKeptFlags);
  if (!part) return;
  // 2.
  for (int bit = 0; bit < 16; ++bit)
    if (articulations & (1u << bit)) part->SetNoteFlag(bit);
  SetXNoteSpace(part->GetXNoteSpace());
  SetXAccSpace(part->GetXAccSpace());
  if (IsGrace())
    part->SetNoteFlag(kFlagGrace);
  else
    part->ClearNoteFlag(kFlagGrace);
  part->SetStemDir(OppositeSetting(GetStemDir()));
  part->SetLyric(GetLyric());
  const int restDuration = GetNotatedDuration();
  if (part->GetNotatedDuration() < restDuration) {
    // A chord's duration is its reference member's: lengthen the members, then the chord.
    const int n = part->GetMemberCount();
    for (int i = 0; i < n && part->GetType() == kItemChord; ++i) {
      TMusicNote* m = part->GetMember(i);
      if (m && m->GetNotatedDuration() < restDuration) TakeDuration(*m, *this);
    }
    TakeDuration(*part, *this);
  }
  // 3.
  part->Update();
  ResetPartTieDirections();
  if (part->IsTieIn()) SetTieIn(true);
}

bool TRestChord::AttachNote(std::unique_ptr<TMusicNote>& note) {
  if (!note) return false;
  // 1.
  if (note->GetNotatedDuration() < GetNotatedDuration()) return false;
  if (part && (note->GetNotatedDuration() != part->GetNotatedDuration() ||
               part->FindMemberAtPos(note->GetStaffPos())))
    return false;
  // 2. The rest and the note take opposite stems.
  int restStem = GetStemSetting();
  int noteStem = note->GetStemSetting();
  if (restStem == kStemAuto) restStem = OppositeSetting(note->GetStemDir());
  if (noteStem == kStemAuto) noteStem = restStem == kStemUp ? kStemDown : kStemUp;
  if (restStem == noteStem) return false;

  // 3, 4.
  const int oldNoteStem = note->GetStemSetting();
  note->SetStemDir(noteStem);
  note->SetRestChordPart(true);
  if (!part) {
    note->SetArticulationsOnStem(true);
    part = std::move(note);
  } else if (part->GetType() != kItemChord) {
    if (!TChordData::WouldTake(*part, *note)) {
      note->SetRestChordPart(false);
      note->SetStemDir(oldNoteStem);
      return false;
    }
    auto chord = std::make_unique<TChordData>(std::move(part));
    chord->SetRestChordPart(true);
    chord->AddNote(note);
    part = std::move(chord);
  } else if (!ItemAs<TChordData>(part.get())->AddNote(note)) {
    note->SetRestChordPart(false);
    note->SetStemDir(oldNoteStem);
    return false;
  }
  SetStemDir(restStem);
  // 5.
  ResetPartTieDirections();
  Update();
  return true;
}

std::unique_ptr<TMusicNote> TRestChord::DetachNote(const TMusicNote* member) {
  if (!member || !part) return nullptr;
  std::unique_ptr<TMusicNote> note;
  if (member == part.get()) {
    note = std::move(part);
  } else if (part->GetType() == kItemChord) {
    auto* chord = ItemAs<TChordData>(part.get());
    if (chord->GetMemberCount() <= 1 || !(note = chord->RemoveNote(member))) return nullptr;
    if (chord->GetMemberCount() == 1) {
      std::unique_ptr<TMusicNote> last = chord->RemoveNote(chord->GetMember(0));
      last->SetRestChordPart(true);
      part = std::move(last);  // deletes the emptied chord
    }
  } else {
    return nullptr;
  }
  note->SetRestChordPart(false);
  ResetPartTieDirections();
  return note;
}

}  // namespace kvt
