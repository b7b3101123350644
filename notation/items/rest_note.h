#pragma once
// TRestNote: a rest (type code 9), and the base of the rest chord. Adds an explicit length in
// ticks (used by the staff audit to make a whole rest fill its bar exactly), a vertical offset
// and the hide flag of a rest chord's rest.
//
// The explicit length is held wider in memory than in the older file layouts (18 bits), so the
// longest bar a time signature can give (128 whole notes, 98304 ticks) fits; larger requests
// saturate. It is derived by the audit, never read from a file.

#include "notation/items/song_note.h"

namespace kvt {

inline constexpr int kMaxRestTickLength = (1 << 18) - 1;
inline constexpr int kMaxRestVertOffset = 2000;

class TRestNote : public TSongNote {
public:
  TRestNote(int durationCode, int flagWord);
  ~TRestNote() override;

  static constexpr TNotatedItemType kType = kItemRest;

  TNotatedItemType GetType() const override { return kType; }
  // The song-note assignment; a plain rest then clears its extra spacing; from a rest or rest
  // chord also the explicit length and the vertical offset (not HideRest).
  void Assign(const TNotatedItem& src) override;
  TRestNote* AsRest() const override { return const_cast<TRestNote*>(this); }
  bool IsRestClass() const override { return true; }
  // Base position by duration plus the vertical offset.
  int GetStaffPos() const override;
  int GetTopPos() const override;
  int GetBottomPos() const override;
  // 0 for a grace rest; else the explicit length when set, else the notated duration.
  int GetDuration() const override;

  int GetTickLength() const { return tickLength; }
  bool HasTickLength() const { return hasTickLength; }
  // count x the unit of a beat exponent (0 768, 1 384, 3 96, 4 48, 5 24, 6 12, other 192),
  // limited to 0..kMaxRestTickLength.
  void SetTickLength(int count, int unitCode);
  void ClearTickLength();
  int GetVertOffset() const;
  // Magnitudes above 2000 are stored as +-2001.
  void SetVertOffset(int offset);
  // Hiding also resets the vertical offset.
  void SetHideRest(bool hide);
  bool GetHideRest() const { return hideRest; }
  // Only a rest chord's rest is ever hidden.
  bool IsRestHidden() const;
  // Whole, no grace, no dots, no triplet and no chord part.
  bool IsPlainWholeRest() const;
  // Glyph of the rest: 20 + duration code.
  int GetRestSymbol() const { return 20 + GetDurationCode(); }

private:
  uint32_t tickLength : 18;
  uint32_t hasTickLength : 1;
  uint32_t hideRest : 1;
  uint32_t vertOffset : 12;  // signed, two's complement
};

// Tick unit of a time signature's beat exponent as SetTickLength uses it.
int GetBeatUnitTicks(int unitCode);

}  // namespace kvt
