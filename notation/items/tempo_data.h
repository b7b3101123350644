#pragma once
// TTempoData (type code 6, "Tempo"): a tempo mark: beats per minute of a base note value and
// an optional text shown before it.
//
// Conversions between bases use integer arithmetic as the text describes, in 64 bits and
// saturated at the largest int, so no tempo from a file can overflow.

#include <string>
#include <string_view>

#include "notation/items/general_expression.h"

namespace kvt {

enum TTempoBase : int {
  kTempoEighth = 0,
  kTempoEighthDotted = 1,
  kTempoQuarter = 2,
  kTempoQuarterDotted = 3,
  kTempoHalf = 4,
  kTempoHalfDotted = 5,
};
inline constexpr int kTempoBaseCount = 6;
inline constexpr int kMinTempo = 4;
inline constexpr int kMaxTempoTextUnits = 254;

class TTempoData : public TNtnGeneralExpression {
public:
  // SetTempo(tempo, base); empty text; Pos -10, Wide off.
  explicit TTempoData(int tempo = 120, int base = kTempoQuarter);

  static constexpr TNotatedItemType kType = kItemTempo;

  TNotatedItemType GetType() const override { return kType; }
  // A tempo record of GetQuarterTempo beats per minute at the song position.
  void Perform(TStaffContextState& state, TMidiFileBuf* buffer) const override;

  int GetTempo() const { return tempo; }
  // TTempoBase, masked to 8 bits; a base outside 0-5 plays as Quarter.
  int GetBase() const { return base; }
  // Stores the base and max(tempo, 4).
  void SetTempo(int tempo, int base);
  // Quarter notes per minute: Eighth t/2, Eighth Dotted 3t/4, Quarter t, Quarter Dotted 3t/2,
  // Half 2t, Half Dotted 3t (truncating), at least 4.
  int GetQuarterTempo() const { return QuarterTempo(tempo, base); }

  const std::u16string& GetText() const { return text; }
  // At most 254 units; a cut never splits a surrogate pair.
  void SetText(std::u16string_view value);

  static int QuarterTempo(int tempo, int base);
  // Eighth 2q, Eighth Dotted 4q/3, Quarter q, Quarter Dotted 2q/3, Half q/2, Half Dotted q/3.
  static int FromQuarterTempo(int quarterTempo, int base);
  // FromQuarterTempo(QuarterTempo(tempo, from), to).
  static int ConvertTempo(int tempo, int from, int to);

private:
  int32_t tempo;
  uint8_t base;
  std::u16string text;
};

}  // namespace kvt
