#pragma once
// TFindErrorNtnIdx: an audit index with a memory of the accidentals written in the current
// bar, by staff position, for the score review's test of accidentals that a reader may
// misread (HasAccidentalMismatch).
//
// The memory covers every staff position a note can hold (-128 to 127), so no position read
// from a file can index outside it. It is emptied at bar lines, clefs, keys and endings that
// name passes.

#include <cstdint>

#include "notation/audit/audit_ntn_idx.h"

namespace kvt {

class TFindErrorNtnIdx : public TAuditNtnIdx {
public:
  TFindErrorNtnIdx() { ClearMemory(); }
  // At item 0, with an empty memory.
  explicit TFindErrorNtnIdx(TMusicStaff* staff);
  ~TFindErrorNtnIdx() override;

  // The audit reset; the memory emptied.
  void Reset() override;
  // Records the explicit accidentals of a song note being left, empties the memory when
  // leaving a bar line, clef, key or ending with passes, then the audit step.
  bool Next() override;

  // False on a muted staff and off song notes. Otherwise true when a member with an automatic
  // accidental, not tied in and not muted, sounds other than a reader would take it: with no
  // accidental written at its position in the bar, when the bar's running accidental of its
  // letter differs from the key's; else when it differs from the one written there.
  bool HasAccidentalMismatch() const;

  // The accidental written at a staff position in the bar; 5 (none) when nothing is.
  int GetRememberedAccidental(int position) const;

private:
  static constexpr int kPositions = 256;
  static constexpr int kOffset = 128;
  void ClearMemory();

  uint8_t memory[kPositions];
};

}  // namespace kvt
