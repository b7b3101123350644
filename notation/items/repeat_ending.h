#pragma once
// TSpecialEnding (type code 3, "Ending"): a volta bracket naming the passes of a master repeat
// that play the bars under it (endings 1-7) and whether it is the default ending "D" played
// after a Da Capo or Dal Segno jump.
//
// The bracket's vertical position is kept as VertOffsetStore (staff steps, positive downward);
// the text format's "VertOffset" is 1 minus it, so a new ending (store 1) has VertOffset 0.

#include "notation/items/notated_item.h"
#include "notation/staff/staff_items.h"

namespace kvt {

inline constexpr int kMaxEndingNumber = 7;
inline constexpr int kDefaultEndingBit = 0x80;

class TSpecialEnding : public TNotatedItem {
public:
  // No endings, open bracket, text shown, BracketHeight 4, VertOffsetStore 1.
  TSpecialEnding();

  static constexpr TNotatedItemType kType = kItemEnding;

  TNotatedItemType GetType() const override { return kType; }
  int GetStaffPos() const override { return -10; }
  int GetTopPos() const override { return 0; }
  int GetBottomPos() const override { return 0; }
  // With any ending set, the state's master repeat count becomes 8.
  void ApplyToContext(TStaffContextState& state) const override;
  // NextPlayIndexIn over the staff's items.
  int GetNextPlayIndex(TStaffContextState& state, const TMusicStaff* staff, int index) const override;

  // With p the master pass: no endings or p = 0 play the ending (index + 1). While repeats
  // are active the ending plays when ending p is set; after a Da Capo or Dal Segno jump (until
  // the coda) when the default ending is set. Otherwise it is skipped: play resumes at the
  // next bar line Double, BrokenDouble, SectionOpen or MasterRepeatOpen, after the next
  // SectionClose or MasterRepeatClose, or at the next ending with endings set; at the staff
  // end, at index + 1.
  int NextPlayIndexIn(TStaffContextState& state, TStaffItemSpan items, int index) const;

  // Bits 0-6 endings 1-7, bit 7 the default ending; other bits are not kept.
  int GetEndings() const { return endings; }
  void SetEndings(int mask) { endings = static_cast<uint32_t>(mask) & 0xFFu; }
  // Ending n (1-7) is set; false for any other n.
  bool HasEnding(int n) const;
  void SetEnding(int n, bool on);
  bool HasDefaultEnding() const { return (endings & kDefaultEndingBit) != 0; }
  void SetDefaultEnding(bool on);
  bool HasAnyEnding() const { return endings != 0; }
  // Endings set, ending 1 not among them.
  bool IsLaterEnding() const { return endings != 0 && !HasEnding(1); }

  bool IsClosedBracket() const { return closedBracket != 0; }
  void SetClosedBracket(bool on) { closedBracket = on ? 1 : 0; }
  bool IsHideText() const { return hideText != 0; }
  void SetHideText(bool on) { hideText = on ? 1 : 0; }
  int GetBracketHeight() const { return bracketHeight; }
  void SetBracketHeight(int height) { bracketHeight = height; }
  // The stored bracket position (drawing's vertical offset), in steps, positive downward.
  int GetVertOffsetStore() const { return vertOffsetStore; }
  void SetVertOffsetStore(int steps) { vertOffsetStore = steps; }
  // 1 - VertOffsetStore, saturated to the 32-bit range; the setter stores 1 - offset.
  int GetVertOffset() const;
  void SetVertOffset(int offset);

private:
  uint32_t closedBracket;
  uint32_t hideText;
  uint32_t endings;
  int32_t bracketHeight;
  int32_t vertOffsetStore;
};

}  // namespace kvt
