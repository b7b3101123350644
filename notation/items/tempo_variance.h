#pragma once
// TTempoVariance (type code 14, "TempoVariance"): a pause (breath mark, caesura, fermata) or a
// gradual tempo change (accelerando ... stringendo).
//
// A pause adds a wait record of Pause sixteenth-note steps. A gradual change plays as a ramp
// of one-beat-per-minute tempo steps from RampFrom to RampTo over RampSpan ticks; the staff
// audit sets the ramp from the tempo marks around it.

#include <cstdint>
#include <string_view>

#include "notation/items/general_expression.h"

namespace kvt {

enum TTempoVarianceStyle : int {
  kTempoVarBreathMark = 0,
  kTempoVarCaesura = 1,
  kTempoVarFermata = 2,
  kTempoVarAccelerando = 3,
  kTempoVarAllargando = 4,
  kTempoVarRallentando = 5,
  kTempoVarRitardando = 6,
  kTempoVarRitenuto = 7,
  kTempoVarRubato = 8,
  kTempoVarStringendo = 9,
};
inline constexpr int kTempoVarianceStyleCount = 10;

class TTempoVariance : public TNtnGeneralExpression {
public:
  // No pause, no ramp, Wide off; Pos by style: Breath Mark -8, Caesura -4, Fermata -9, others 8.
  explicit TTempoVariance(int style = kTempoVarFermata);

  static constexpr TNotatedItemType kType = kItemTempoVariance;

  TNotatedItemType GetType() const override { return kType; }
  // With g = 24 x the state's grace count and start = song position + g:
  // - Breath Mark, Caesura: a wait record of Pause steps at start when Pause is not 0;
  //   Fermata the same at start + 1.
  // - Ramp styles: nothing when g >= RampSpan or RampFrom = RampTo; otherwise for k = 1 .. n-1
  //   (n = |RampTo - RampFrom|) a tempo of RampFrom +- k beats per minute at
  //   start + trunc(k x (RampSpan - g) / n), each only when later than the one before.
  void Perform(TStaffContextState& state, TMidiFileBuf* buffer) const override;

  int GetStyle() const { return style; }
  void SetStyle(int value) { style = static_cast<uint8_t>(value); }
  // Breath Mark, Caesura and Fermata.
  bool HasPause() const { return style <= kTempoVarFermata; }
  // Sixteenth-note steps (48 ticks each at the tempo in force).
  int GetPause() const { return pause; }
  void SetPause(int steps) { pause = static_cast<uint8_t>(steps); }

  int GetRampFrom() const { return rampFrom; }
  int GetRampTo() const { return rampTo; }
  int GetRampSpan() const { return rampSpan; }
  // Tempos are masked to 16 bits unsigned; the span is in ticks.
  void SetRamp(int from, int to, int span);
  void SetRampSpan(int span) { rampSpan = span; }

  // ",", "//", "?", "accel.", "allarg.", "rall.", "ritard.", "rit.", "rubato", "string.";
  // "***" for a style outside 0-9.
  std::string_view GetDisplayText() const { return DisplayText(style); }
  static std::string_view DisplayText(int style);

private:
  uint8_t style;
  uint8_t pause;
  uint16_t rampFrom;
  uint16_t rampTo;
  int32_t rampSpan;
};

}  // namespace kvt
