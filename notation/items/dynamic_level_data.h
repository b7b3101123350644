#pragma once
// TDynamicLevelData (type code 7, "Dynamic"): a dynamic mark (ppp to fff) with an optional note
// velocity and channel volume.
//
// One packed record: level (4 bits), velocity-present and volume-present bits, velocity and
// volume (8 bits each, always kept within 0..127 so they are valid MIDI data) and two spare
// bits. The staff audit fills the velocity of a dynamic without an explicit one from the
// staff instrument's velocity for its level.

#include "notation/items/general_expression.h"

namespace kvt {

enum TDynamicLevel : int {
  kDynPPP = 0,
  kDynPP = 1,
  kDynP = 2,
  kDynMP = 3,
  kDynMF = 4,
  kDynF = 5,
  kDynFF = 6,
  kDynFFF = 7,
};
inline constexpr int kDynamicLevelCount = 8;
// Glyph of level ppp; the others follow in order.
inline constexpr int kGlyphDynamicFirst = 73;

class TDynamicLevelData : public TNtnGeneralExpression {
public:
  // The level, no velocity, no volume; Pos 8, Wide off.
  explicit TDynamicLevelData(int level = kDynMF);

  static constexpr TNotatedItemType kType = kItemDynamic;

  TNotatedItemType GetType() const override { return kType; }
  // MarkDynamicChanged (ends a velocity ramp, sets the dynamic-changed flag); then a non-zero
  // Velocity becomes the state's note velocity.
  void ApplyToContext(TStaffContextState& state) const override;
  // Control change 7 with Volume at the song position, when a volume is given.
  void Perform(TStaffContextState& state, TMidiFileBuf* buffer) const override;

  // Masked to 4 bits; GetSymbol bounds it to the eight levels.
  int GetLevel() const { return level; }
  void SetLevel(int value) { level = static_cast<uint32_t>(value) & 15u; }
  // Glyph 73 + level; a level above 7 reads as fff.
  int GetSymbol() const;

  bool HasVelocity() const { return hasVelocity != 0; }
  void SetHasVelocity(bool on) { hasVelocity = on ? 1 : 0; }
  int GetVelocity() const { return velocity; }
  // Limited to 0..127; does not change the present bit.
  void SetVelocity(int value);
  bool HasVolume() const { return hasVolume != 0; }
  void SetHasVolume(bool on) { hasVolume = on ? 1 : 0; }
  int GetVolume() const { return volume; }
  // Limited to 0..127; does not change the present bit.
  void SetVolume(int value);

  // Copies level, both present bits and both values.
  void CopyDynamic(const TDynamicLevelData& other);

private:
  uint32_t level : 4;
  uint32_t hasVelocity : 1;
  uint32_t hasVolume : 1;
  uint32_t velocity : 8;
  uint32_t volume : 8;
  uint32_t spare : 2;
};

}  // namespace kvt
