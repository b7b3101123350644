#pragma once
// TKeyData (type code 1, "Key"): a key signature as two letter masks (bit 0 A ... bit 6 G),
// the tonic letter, and what the staff audit stores into it: the clef in force and the masks
// of the key before it (the accidentals this key cancels when drawn).
//
// A letter is never in both masks: SetSharp adds a letter to the sharps and removes it from
// the flats, SetFlat the reverse, SetNatural removes it from both. Letter arguments outside
// 0..6 change nothing. Masks are 16-bit fields; only the seven letter bits mean anything.
//
// Key counts: the sharp count of a mask is the number of leading letters of the order
// F C G D A E B that are all in it, the flat count likewise over B E A D G C F; the key count
// is the sharp count, or minus the flat count when that is larger.

#include "notation/items/notated_item.h"

namespace kvt {

class TKeyData : public TNotatedItem {
public:
  // Clef, previous masks and flags cleared.
  TKeyData(int sharpsMask = 0, int flatsMask = 0, int tonic = 2);

  static constexpr TNotatedItemType kType = kItemKey;

  TNotatedItemType GetType() const override { return kType; }
  int GetTopPos() const override { return -6; }
  int GetBottomPos() const override { return 6; }
  // The state's key masks, running accidentals and tonic become this key's.
  void ApplyToContext(TStaffContextState& state) const override;
  // A key signature record at the song position, unless the song position is not 0 and the
  // state already holds a key of the same count and tonic.
  void Perform(TStaffContextState& state, TMidiFileBuf* buffer) const override;

  int GetSharpsMask() const { return sharps; }
  int GetFlatsMask() const { return flats; }
  void SetSharpsMask(int mask) { sharps = static_cast<uint16_t>(MaskTo16(mask)); }
  void SetFlatsMask(int mask) { flats = static_cast<uint16_t>(MaskTo16(mask)); }
  void SetSharp(int letter);
  void SetFlat(int letter);
  void SetNatural(int letter);
  // 0 sharp, 1 flat, 2 natural (also for a letter outside 0..6).
  int GetLetterAccidental(int letter) const;

  // The tonic letter 0..6 (A 0 ... G 6); any value is taken modulo 7.
  int GetTonic() const { return tonic; }
  void SetTonic(int letter);

  int GetClef() const { return clef; }
  void SetClef(int clefCode) { clef = static_cast<uint8_t>(clefCode); }
  int GetPrevSharpsMask() const { return prevSharps; }
  int GetPrevFlatsMask() const { return prevFlats; }
  void SetPrevMasks(int prevSharpsMask, int prevFlatsMask);
  // Sharps and flats of the previous key that this key drops (the naturals to draw).
  int GetCancelledSharps() const { return prevSharps & ~sharps & 0xFFFF; }
  int GetCancelledFlats() const { return prevFlats & ~flats & 0xFFFF; }

  bool IsHideCancels() const { return (keyFlags & 1) != 0; }
  void SetHideCancels(bool on);
  bool IsAutoSys() const { return (keyFlags & 2) == 0; }
  void SetAutoSys(bool on);

  // Sharps (positive) or flats (negative) of this key.
  int GetKeyCount() const { return KeyCount(sharps, flats); }
  // True when the tonic is the relative minor of the major key of this count.
  bool IsMinor() const;

  // Transposes the key by `semitones`: picks the new key among C Db D Eb E F Gb G Ab A Bb B
  // (with preferDirection < 0, B becomes Cb; > 0, Gb becomes F# and Db becomes C#), sets
  // `steps` to minus the letter steps moved (staff positions grow downward; 7 per whole
  // octave) and, unless testOnly, rebuilds both masks and moves the tonic by the letter steps.
  void Transpose(int semitones, int& steps, int preferDirection, bool testOnly);

  static int SharpCount(int sharpsMask);
  static int FlatCount(int flatsMask);
  static int KeyCount(int sharpsMask, int flatsMask);
  // The major tonic letter of a key count: (4n + 2) mod 7 for n >= 0, (3|n| + 2) mod 7 below.
  static int MajorTonic(int keyCount);
  // The masks of a key count -7..7 (the first n letters of the sharps or flats order); a count
  // outside that range is limited to it.
  static void MasksOfCount(int keyCount, int& sharpsMask, int& flatsMask);

private:
  static uint32_t MaskTo16(int mask) { return static_cast<uint32_t>(mask) & 0xFFFFu; }

  uint16_t flats;
  uint16_t sharps;
  uint8_t clef;
  uint16_t prevFlats;
  uint16_t prevSharps;
  uint8_t keyFlags;
  int32_t tonic;
};

}  // namespace kvt
