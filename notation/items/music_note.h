#pragma once
// TMusicNote: a note (type code 8), and the base of the chord. Adds the pitch as a staff
// position with an accidental, the note's display options, and the pitch arithmetic, the
// running-context step and the MIDI output of a note.
//
// Pitch under a running state: letter = (clef base - StaffPos) mod 7 (A 0 ... G 6), octave from
// the clef base and octave shift, the sounding accidental (own code, else the bar's running
// accidental of the letter), plus the state's transposition, folded into 0..127.
//
// Field setters keep every value inside its field: the staff position saturates to -128..127,
// accidental codes outside 0-5 become 5 (automatic), stem lengths saturate to 0..30 (0 storing
// the no-stem code), head shifts to 0..7.

#include <cstdint>

#include "midi/events/midi_msg.h"
#include "notation/items/song_note.h"

namespace kvt {

class TMidiFileBuf;

class TMusicNote : public TSongNote {
public:
  // staffPos saturated to -128..127; accidental as SetAccidental.
  TMusicNote(int staffPos, int durationCode, int flagWord, int accidental);
  ~TMusicNote() override;

  static constexpr TNotatedItemType kType = kItemNote;

  TNotatedItemType GetType() const override { return kType; }
  // The song-note assignment, then from a note or chord: TieDown, Muted, NoLegerLines,
  // ArticulationsOnStem, HeadShape and StemLength. Never the pitch or the head shift.
  void Assign(const TNotatedItem& src) override;
  int GetMemberCount() const override { return 1; }
  TMusicNote* GetMember(int i) const override;
  bool IsMusicNoteClass() const override { return true; }
  bool HasNotes() const override { return true; }
  int GetStaffPos() const override { return staffPos; }
  int GetTopPos() const override { return staffPos; }
  int GetBottomPos() const override { return staffPos; }
  void SetStaffPos(int pos) override;
  // Records the accidental as the running accidental of its letter, then the song-note step
  // (nothing more for a chord member or a rest chord's part).
  void ApplyToContext(TStaffContextState& state) const override;
  // The note's MIDI events at the state's song position (see music_note_perform.cpp).
  void Perform(TStaffContextState& state, TMidiFileBuf* buffer) const override;

  // The song-note operations as a note answers them.
  int GetHeadColumns() const override { return 1; }
  // Extra accidental columns plus one when an accidental is drawn.
  int GetAccidentalSpace() const override;
  void AuditStep(const TStaffContextState& state) override;
  bool Transpose(const TStaffContextState& state, int semitones, int steps, bool testOnly) override;
  void Respell(const TStaffContextState& state) override;
  // Not grace, not SlurIn, not TieIn.
  bool TakesLyricByDefault() const override;

  // The note operations; a chord answers them over its members.
  virtual TMusicNote* GetFirstNote() const;
  virtual TMusicNote* GetLastNote() const;
  virtual int GetFlagCount() const;
  virtual bool HasOwnStem() const;
  virtual bool HasShiftedHeads(int stemDir) const;

  void MoveStaffPos(int delta) { SetStaffPos(staffPos + delta); }
  // 5 while AccidentalAuto is set.
  int GetAccidental() const {
    return accidentalAuto ? static_cast<int>(kAccNone) : static_cast<int>(accidental);
  }
  int GetRawAccidental() const { return accidental; }
  // Stores the code and clears AccidentalAuto.
  void SetAccidental(int code);
  // Stores the code, keeps AccidentalAuto.
  void SetRawAccidental(int code);
  // An accidental filled in by the staff's automatic accidental routine.
  void SetAutoAccidental(int code);
  // Back to the automatic accidental (5).
  void ClearAutoAccidental();
  bool IsAccidentalAuto() const { return accidentalAuto; }

  // 0 "Default", 1 "Upward", 2 "Downward" (flag 10 with TieDown).
  int GetTieDirection() const;
  void SetTieDirection(int direction);
  bool IsTieDown() const { return tieDown; }
  void SetTieDown(bool down) { tieDown = down; }
  bool IsMuted() const { return muted; }
  void SetMuted(bool on) { muted = on; }
  bool GetNoLegerLines() const { return noLegerLines; }
  void SetNoLegerLines(bool on) { noLegerLines = on; }
  bool GetArticulationsOnStem() const { return articulationsOnStem; }
  void SetArticulationsOnStem(bool on) { articulationsOnStem = on; }

  // 0 for the default length and for no stem.
  int GetStemLength() const { return stemLength == kNoStem ? 0 : stemLength; }
  // 0 stores the no-stem code; other values saturate to 1..30.
  void SetStemLength(int length);
  bool HasStemLength() const { return stemLength != 0; }
  void ClearStemLength() { stemLength = 0; }
  bool IsStemShown() const { return stemLength != kNoStem; }
  bool HasVisibleStem() const { return IsStemShown() && GetDurationCode() > kDurWhole; }
  int GetRawStemLength() const { return stemLength; }
  void SetRawStemLength(int raw) { stemLength = MaskStemLength(raw); }
  int GetHeadShift() const { return headShift; }
  void SetHeadShift(int shift);

  // The note-head glyph for the head shape and duration (shapes outside 0-13 draw as 0).
  int GetNoteHeadSymbol() const;
  // Glyph of an accidental code: sharp 9, flat 8, natural 10, double sharp 42, double flat 43;
  // -1 (no glyph) for the automatic code and anything outside 0-4: the automatic accidental's
  // own glyph number lies past the 82-entry glyph table.
  static int GetAccidentalSymbol(int accidental);

  // Folds a pitch into 0..127: below 0 into the bottom octave, above 127 into the top one.
  static int WrapPitch(int pitch);
  // The staff position and accidental that spell `pitch` (0..127; larger values fold into the
  // top octave, negative ones into the bottom) under a clef and a key of `keyCount` sharps
  // (positive) or flats (negative).
  static void SpellPitchOnStaff(int clef, int keyCount, int pitch, int& position, int& accidental);

  // The member at the stem's free end: the first note for a down stem, the last for an up stem
  // (stemDir 0: the item's own direction).
  TMusicNote* GetStemEndNote(int stemDir) const;
  int GetStemSideHeadShift(int stemDir) const;

  // Pitch arithmetic under a running state.
  int GetNoteLetter(const TStaffContextState& state) const;
  int GetOctave(const TStaffContextState& state) const;
  int GetSoundingAccidental(const TStaffContextState& state) const;
  int GetPitch(const TStaffContextState& state) const;
  // Respells one letter up (+1) or down (-1) keeping the pitch; false when the accidental is
  // automatic or would leave double flat .. double sharp.
  bool ShiftSpelling(const TStaffContextState& state, int direction);
  // The note-on that sounds the note (for the editor): velocity raised to 7/5 for Accent or
  // Marcato, 1..127.
  TMidiMsg MakeNoteOnEvent(const TStaffContextState& state) const;

  // Emits the note's events for Perform; `ownerMuted` marks a muted owner (chord), whose tie
  // continuations still end their sound. A note tied on emits no note off: the continuation
  // ends the sound, or the player ends it at GetPlayedEnd when no continuation comes.
  void PerformNote(TStaffContextState& state, TMidiFileBuf& buffer, bool ownerMuted) const;
  // The tick at which the note's key is released when nothing continues it: its start (after
  // grace-note timing) plus its played length (articulations and the state's performance
  // style), at least one tick after the start.
  int64_t GetPlayedEnd(const TStaffContextState& state, bool ownerMuted) const;

protected:
  // Stores the respelled position and accidental of `pitch` (without transposition) for the
  // state's clef, key and octave shift.
  void SpellPitch(const TStaffContextState& state, int soundingPitch);

private:
  static constexpr int kNoStem = 31;
  static uint32_t MaskStemLength(int raw) { return static_cast<uint32_t>(raw) & 31u; }

  int8_t staffPos = 0;
  uint16_t accidental : 3;
  uint16_t accidentalAuto : 1;
  uint16_t tieDown : 1;
  uint16_t muted : 1;
  uint16_t noLegerLines : 1;
  uint16_t articulationsOnStem : 1;
  uint16_t stemLength : 5;
  uint16_t headShift : 3;
};

}  // namespace kvt
