#pragma once
// TChordData: a chord (type code 10): several member notes sharing one stem, or two stems (a
// split-stem chord: the lower voice stem down, the upper voice stem up, each with its own
// duration). The chord is itself a note whose own position and duration are those of one
// reference member; its flags, grouping, spacing, stem length, tie and slur directions and note
// options are the chord's settings, which Update pushes onto the members.
//
// Members are owned by the chord and kept sorted by staff position from the largest (the
// lowest note, member 0) to the smallest (the highest); at equal positions a down-stem member
// comes first; otherwise insertion order is kept. Every member has ChordMember set.
//
// AddNote answers false and leaves the chord as it was when it refuses; a refused note stays the
// caller's. RemoveNote hands the note back, or null when it refuses. After any change of the chord's settings the caller runs Update
// (SetBeamState and SetTripletState run it themselves).

#include <cstdint>
#include <memory>

#include "notation/items/chord_members.h"
#include "notation/items/music_note.h"

namespace kvt {

class TChordData : public TMusicNote {
public:
  // A quarter-note chord at position 0 without flags; each given note that is not null is
  // added (AddNote); a refused one is deleted.
  explicit TChordData(std::unique_ptr<TMusicNote> first = nullptr,
                      std::unique_ptr<TMusicNote> second = nullptr);
  ~TChordData() override;

  static constexpr TNotatedItemType kType = kItemChord;

  TNotatedItemType GetType() const override { return kType; }
  // The note assignment, then the members are laid out again with the new settings.
  void Assign(const TNotatedItem& src) override;
  int GetMemberCount() const override { return static_cast<int>(members.size()); }
  TMusicNote* GetMember(int i) const override;
  // The middle of the extent (see the .cpp); 0 when empty.
  int GetStaffPos() const override;
  // Highest and lowest member; 0 when empty.
  int GetTopPos() const override;
  int GetBottomPos() const override;
  // Each member records its accidental, then the chord advances once.
  void ApplyToContext(TStaffContextState& state) const override;
  // Each member performs; a muted chord only ends the ties that run into it.
  void Perform(TStaffContextState& state, TMidiFileBuf* buffer) const override;

  void SetBeamState(int state) override;
  void SetTripletState(int state) override;
  void Update() override;
  bool HasSplitStem() const override;
  bool HasTwoDurations() const override;
  int GetHeadColumns() const override { return GetHeadShift() + 1; }
  // The chord's accidental columns are laid out by the drawing code; until it measures them the
  // chord asks for one column when any member shows an accidental.
  int GetAccidentalSpace() const override;
  void AuditStep(const TStaffContextState& state) override;
  bool Transpose(const TStaffContextState& state, int semitones, int steps, bool testOnly) override;
  void Respell(const TStaffContextState& state) override;
  TMusicNote* GetFirstNote() const override;
  TMusicNote* GetLastNote() const override;
  bool HasShiftedHeads(int stemDir) const override;

  // Takes the note (which becomes null) when it returns true; only plain notes (type 8) are
  // taken. On false the note is the caller's, unchanged.
  bool AddNote(std::unique_ptr<TMusicNote>& note);
  // Takes the member out and hands it to the caller; null when note is not a member.
  std::unique_ptr<TMusicNote> RemoveNote(const TMusicNote* note);
  // Whether a chord made of `first` would then take `second`; tried on stand-ins with what
  // AddNote decides on (position, accidental, duration, flags, stem and options), so neither
  // note changes.
  static bool WouldTake(const TMusicNote& first, const TMusicNote& second);
  void ResortMembers();
  // Member index where the stem starts (stemDir 0: the chord's own direction); -1 when empty.
  int GetStemRootIndex(int stemDir) const;
  // The member standing for the other duration of a split chord; null when empty.
  TMusicNote* GetSecondDurationNote() const;
  // Bit 0: the up-stem side has shifted heads; bit 1: the down-stem side.
  int GetSplitSideFlags() const { return splitSideFlags; }

private:
  // Index of the first member of the upper voice (the first whose stem is not down).
  int GetVoiceBoundary() const;
  // Takes the note into its sorted place; false (the note left to the caller) when the chord
  // cannot hold another member.
  bool InsertSorted(std::unique_ptr<TMusicNote>& note);
  void LayoutHeadColumns();
  // The chord's own stored staff position (the reference member's).
  int GetOwnStaffPos() const { return TMusicNote::GetStaffPos(); }

  uint8_t splitSideFlags = 0;
  TChordMembers members;
};

}  // namespace kvt
