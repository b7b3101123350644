#pragma once
// TSongNote: the base of the items that take time (notes, rests, chords, rest chords). It holds
// the duration code with its dots, triplet and grace flags, the articulation and option flag
// word, beam and triplet grouping, stem direction, slur and tie links, extra spacing and the
// lyric option, and gives the duration arithmetic and the song-note step of a staff walk.
//
// Durations count ticks, 768 a whole note: code c (0 whole to 6 sixty-fourth) lasts 768 >> c,
// dotted x 1.5, double dotted x 1.75, triplet x 2/3 (integer arithmetic), a grace note 0.
//
// Setters mask to their field's width; SetDuration clamps to the codes 0-6 and SetStemDir and
// the group states keep to their defined values, so table lookups by these fields stay bounded.

#include <cstdint>

#include "notation/items/notated_item.h"
#include "notation/context/staff_context_state.h"

namespace kvt {

inline constexpr int kWholeNoteTicks = 768;

// Duration codes (score text words "Whole", "Half", "4th", "8th", "16th", "32nd", "64th").
enum TDurationCode : int {
  kDurWhole = 0,
  kDurHalf = 1,
  kDurQuarter = 2,
  kDurEighth = 3,
  kDur16th = 4,
  kDur32nd = 5,
  kDur64th = 6,
};
inline constexpr int kDurationCodeCount = 7;

// Bits of the note flag word.
enum TNoteFlagBit : int {
  kFlagAccent = 0,
  kFlagDotted = 1,
  kFlagStaccato = 2,
  kFlagTieOut = 3,         // tied to the next note
  kFlagSlur = 4,           // a slur runs on to the next song note (SlurOut)
  kFlagTenuto = 5,
  kFlagMarkA = 6,          // articulation mark A (carried, not written as text)
  kFlagMarkB = 7,          // articulation mark B
  kFlagDblDotted = 8,
  kFlagGrace = 9,
  kFlagTieDirection = 10,  // the tie direction is explicit (TieDown)
  kFlagSlurDirection = 11, // the slur direction is explicit (SlurDown)
  kFlagCrescendo = 12,
  kFlagDiminuendo = 13,
  kFlagMarcato = 14,
  kFlagStaccatissimo = 15,
};

inline constexpr uint16_t kMaskAccent = 0x0001;
inline constexpr uint16_t kMaskDotted = 0x0002;
inline constexpr uint16_t kMaskStaccato = 0x0004;
inline constexpr uint16_t kMaskTieOut = 0x0008;
inline constexpr uint16_t kMaskSlur = 0x0010;
inline constexpr uint16_t kMaskTenuto = 0x0020;
inline constexpr uint16_t kMaskMarkA = 0x0040;
inline constexpr uint16_t kMaskMarkB = 0x0080;
inline constexpr uint16_t kMaskDblDotted = 0x0100;
inline constexpr uint16_t kMaskGrace = 0x0200;
inline constexpr uint16_t kMaskTieDirection = 0x0400;
inline constexpr uint16_t kMaskSlurDirection = 0x0800;
inline constexpr uint16_t kMaskCrescendo = 0x1000;
inline constexpr uint16_t kMaskDiminuendo = 0x2000;
inline constexpr uint16_t kMaskMarcato = 0x4000;
inline constexpr uint16_t kMaskStaccatissimo = 0x8000;
// Accent, Staccato, Tenuto, Marcato, Staccatissimo.
inline constexpr uint16_t kArticulationMask = 0xC025;

// Stem settings (StemDir).
enum TStemSetting : int { kStemAuto = 0, kStemUp = 1, kStemDown = 2 };
// Beam and triplet group states ("None", "First", "Middle", "End").
enum TGroupState : int { kGroupNone = 0, kGroupFirst = 1, kGroupMiddle = 2, kGroupEnd = 3 };
// Lyric option ("Default", "Always", "Never").
enum TLyricOption : int { kLyricDefault = 0, kLyricAlways = 1, kLyricNever = 2 };
// Slur and tie direction ("Default", "Upward", "Downward").
enum TCurveDirection : int { kCurveDefault = 0, kCurveUp = 1, kCurveDown = 2 };

// The flag word with the bit set and its exclusions applied: the partner bit (accent and
// marcato, dot and double dot, staccato and staccatissimo, crescendo and diminuendo, marks A
// and B) is cleared, and accent-type, staccato-type and tenuto never stand all three together
// (the newest wins). Bits outside 0-15 leave the word as it is.
uint16_t WithNoteFlag(uint16_t flags, int bit);

// Ticks of a duration code without dots (codes outside 0-6 are clamped).
int GetDurationCodeTicks(int code);

class TSongNote : public TNotatedItem {
public:
  ~TSongNote() override;

  // Base attributes, then (from a song note) Duration, Flags, NoteColor, XAccSpace,
  // XNoteSpace, StemDir, BeamState, TripletState, Lyric and SlurDown.
  void Assign(const TNotatedItem& src) override;
  bool IsSongNoteClass() const override { return true; }
  // 0 for a grace note, else the notated duration.
  int GetDuration() const override;
  // The song-note step (position, grace count, slur state). Chord members and rest
  // chord parts do nothing: their owner applies the whole.
  void ApplyToContext(TStaffContextState& state) const override;

  // The song-note operations, which each song-note kind answers in its own way.
  virtual void SetDuration(int code);
  // Sets a flag bit with its exclusions (partner bit, three articulation groups).
  virtual void SetNoteFlag(int bit);
  virtual void ClearNoteFlag(int bit);
  // which 0: beam state, 1: triplet state.
  virtual void SetGroupState(int which, int state);
  virtual void SetBeamState(int state);
  virtual void SetTripletState(int state);
  // 0 automatic, 1 up, 2 down; other values store automatic.
  virtual void SetStemDir(int dir);
  // 0 automatic, negative down, positive up.
  virtual void SetStemDirFromSign(int sign);
  // Re-layout after a change; nothing for a single note or rest.
  virtual void Update();
  virtual bool HasSplitStem() const;
  virtual bool HasTwoDurations() const;
  virtual int GetHeadColumns() const;
  // Accidental columns the item needs in front of its heads (measured by the drawing code).
  virtual int GetAccidentalSpace() const;
  // The staff audit's step: slur-in and automatic slur and tie directions from the audit's
  // running state.
  virtual void AuditStep(const TStaffContextState& state);
  virtual bool Transpose(const TStaffContextState& state, int semitones, int steps, bool testOnly);
  virtual void Respell(const TStaffContextState& state);
  virtual bool TakesLyricByDefault() const;

  // Flag word.
  uint16_t GetFlags() const { return flags; }
  void SetFlags(int word) { flags = static_cast<uint16_t>(word); }
  bool HasNoteFlag(int bit) const { return bit >= 0 && bit < 16 && (flags >> bit) & 1; }
  bool HasArticulation() const { return (flags & kArticulationMask) != 0; }
  int GetArticulationCount() const;
  bool IsGrace() const { return (flags & kMaskGrace) != 0; }
  bool IsDotted() const { return (flags & kMaskDotted) != 0; }
  bool IsDblDotted() const { return (flags & kMaskDblDotted) != 0; }
  bool IsTieOut() const { return (flags & kMaskTieOut) != 0; }
  bool IsSlurOut() const { return (flags & kMaskSlur) != 0; }
  // 1 Crescendo, 2 Diminuendo, else 0.
  int GetHairpin() const;

  // Packed fields.
  int GetDurationCode() const { return duration; }
  int GetNoteColor() const { return noteColor; }
  void SetNoteColor(int c);
  int GetXAccSpace() const { return xAccSpace; }
  void SetXAccSpace(int n);
  int GetXNoteSpace() const { return xNoteSpace; }
  void SetXNoteSpace(int n);
  int GetHeadShape() const { return headShape; }
  void SetNoteHead(int shape);
  int GetStemSetting() const { return stemDir; }
  int GetBeamState() const { return beamState; }
  int GetTripletState() const { return tripletState; }
  int GetLyric() const { return lyric; }
  void SetLyric(int option);
  bool IsSlurDown() const { return slurDown; }
  void SetSlurDown(bool down) { slurDown = down; }
  bool IsRestChordPart() const { return restChordPart; }
  void SetRestChordPart(bool on) { restChordPart = on; }
  bool IsChordMember() const { return chordMember; }
  void SetChordMember(bool on) { chordMember = on; }
  bool IsSlurIn() const { return slurIn; }
  void SetSlurIn(bool on) { slurIn = on; }
  bool IsTieIn() const { return tieIn; }
  void SetTieIn(bool on) { tieIn = on; }
  bool GetAuditStem() const { return auditStem; }
  void SetAuditStem(bool on) { auditStem = on; }

  bool IsBeamed() const { return beamState != kGroupNone; }
  bool IsTriplet() const { return tripletState != kGroupNone; }
  int GetGroupStateMask() const { return (1 << beamState) | (1 << tripletState); }
  // 0 "Default", 1 "Upward", 2 "Downward".
  int GetSlurDirection() const;
  void SetSlurDirection(int direction);
  // +1 up, -1 down (automatic: a grace note up, else from the staff position).
  int GetStemDir() const;
  bool IsStemUp() const { return GetStemDir() >= 0; }
  bool TakesLyric() const;
  bool IsMelisma() const;
  bool IsGroupBound() const;
  // Duration from the code, dots and triplet, ignoring grace.
  int GetNotatedDuration() const;

protected:
  TSongNote(int durationCode, int flagWord);

  // Steps 2 to 4 of the song-note walk step (advance, grace count, slur state); `graceCounts`
  // says whether a grace item counts in the state's grace count.
  void ApplySongStep(TStaffContextState& state, bool graceCounts) const;

private:
  uint16_t flags = 0;
  uint32_t noteColor : 4;
  uint32_t xAccSpace : 4;
  uint32_t xNoteSpace : 4;
  uint32_t duration : 4;
  uint32_t headShape : 4;
  uint32_t stemDir : 2;
  uint32_t beamState : 2;
  uint32_t tripletState : 2;
  uint32_t lyric : 2;
  uint32_t slurDown : 1;
  uint32_t restChordPart : 1;
  uint32_t chordMember : 1;
  uint32_t slurIn : 1;
  uint8_t tieIn : 1;
  uint8_t auditStem : 1;
};

}  // namespace kvt
