#pragma once
// TRestChord: a rest combined with a note part of another voice (type code 18). The part is
// null, one note, or a chord of two or more notes; it is owned by the rest chord and has
// RestChordPart set. Staff position and extent are the rest's; members, head columns,
// transposition, respelling and MIDI output are the part's.
//
// AttachNote answers false and leaves the rest chord as it was when it refuses; a refused note
// stays the caller's. DetachNote hands the note back to the caller, or null when it refuses.

#include <memory>

#include "notation/items/chord_data.h"
#include "notation/items/rest_note.h"

namespace kvt {

class TRestChord : public TRestNote {
public:
  // A rest without a part.
  TRestChord(int durationCode, int flagWord);
  ~TRestChord() override;

  static constexpr TNotatedItemType kType = kItemRestChord;

  TNotatedItemType GetType() const override { return kType; }
  // The rest assignment, then the part is laid out again.
  void Assign(const TNotatedItem& src) override;
  int GetMemberCount() const override;
  TMusicNote* GetMember(int i) const override;
  bool HasNotes() const override { return part != nullptr; }
  // The part's (accidentals and, for a chord part, its members), then the rest's step.
  void ApplyToContext(TStaffContextState& state) const override;
  void Perform(TStaffContextState& state, TMidiFileBuf* buffer) const override;

  // Lengthening the rest lengthens the part (Update).
  void SetDuration(int code) override;
  void Update() override;
  bool HasSplitStem() const override { return part != nullptr; }
  bool HasTwoDurations() const override;
  int GetHeadColumns() const override;
  int GetAccidentalSpace() const override;
  void AuditStep(const TStaffContextState& state) override;
  bool Transpose(const TStaffContextState& state, int semitones, int steps, bool testOnly) override;
  void Respell(const TStaffContextState& state) override;
  bool TakesLyricByDefault() const override;

  // The note or chord part; null without one.
  TMusicNote* GetPart() const { return part.get(); }
  // Takes the note (which becomes null) when it returns true. On false the note is the
  // caller's, unchanged.
  bool AttachNote(std::unique_ptr<TMusicNote>& note);
  // Hands the note back to the caller; null when it is not (in) the part or the part's chord
  // cannot give it up.
  std::unique_ptr<TMusicNote> DetachNote(const TMusicNote* note);

private:
  // Without an explicit tie direction on the part, members that start a tie curve away from
  // the part's stem.
  void ResetPartTieDirections();

  std::unique_ptr<TMusicNote> part;
};

}  // namespace kvt
