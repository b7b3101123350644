#pragma once
// TBarLineData (type code 2, "Bar"): a bar line with its style, repeat count and flags.
//
// Bar lines drive repeats in play order: applied to the running state they reset the running
// accidentals and count repeat passes; asked for the next index (before they are applied)
// a repeat close sends play back to its opening bar until its passes are done.

#include "notation/items/notated_item.h"
#include "notation/staff/staff_items.h"

namespace kvt {

enum TBarStyle : int {
  kBarSingle = 0,
  kBarDouble = 1,
  kBarBrokenSingle = 2,
  kBarBrokenDouble = 3,
  kBarSectionOpen = 4,
  kBarSectionClose = 5,
  kBarLocalRepeatOpen = 6,
  kBarLocalRepeatClose = 7,
  kBarMasterRepeatOpen = 8,
  kBarMasterRepeatClose = 9,
  kBarTransparent = 10,
};
inline constexpr int kBarStyleCount = 11;
// GetOpeningStyle's answer for a style without an opening counterpart.
inline constexpr int kBarNoOpeningStyle = 11;

// The staff's ending-bar setting ("Section Close", "Master Repeat Close", "Single", "Double",
// "Open (hidden)").
enum TStaffEndBar : int {
  kEndBarSectionClose = 0,
  kEndBarMasterRepeatClose = 1,
  kEndBarSingle = 2,
  kEndBarDouble = 3,
  kEndBarOpen = 4,
};

class TBarLineData : public TNotatedItem {
public:
  // SetStyle(style, repeat); SysBreak, NotABar and XBarCnt clear.
  explicit TBarLineData(int style = kBarSingle, int repeat = 1);

  static constexpr TNotatedItemType kType = kItemBarLine;

  TNotatedItemType GetType() const override { return kType; }
  int GetTopPos() const override { return -4; }
  int GetBottomPos() const override { return 4; }
  // Running accidentals back to the key; SectionOpen/SectionClose: master pass 1;
  // LocalRepeatOpen: local pass 1; LocalRepeatClose: local pass + 1; MasterRepeatOpen: master
  // pass 1 and master count 2; MasterRepeatClose: master pass + 1.
  void ApplyToContext(TStaffContextState& state) const override;
  // NextPlayIndexIn over the staff's items.
  int GetNextPlayIndex(TStaffContextState& state, const TMusicStaff* staff, int index) const override;

  // The play-order decision over an item array (this bar line stands at `index`):
  // - LocalRepeatClose: with the state's walk mode set, index + 1. When the local pass has
  //   reached Repeat, the local pass becomes 0 and play goes on at index + 1. Otherwise play
  //   goes back to the item after the opening bar found by the backward search.
  // - MasterRepeatClose: only while repeats are active and the master pass is below the master
  //   count, back to the item after the opening bar; otherwise index + 1.
  // - Every other style: index + 1.
  // The backward search reads bar lines only. A local repeat stops at a LocalRepeatOpen or an
  // earlier LocalRepeatClose; a MasterRepeatOpen met before any MasterRepeatClose was passed
  // means no jump. A master repeat stops at MasterRepeatOpen, SectionOpen or SectionClose; a
  // LocalRepeatOpen met before any LocalRepeatClose was passed, or unequal numbers of local
  // closes and opens passed, mean no jump. The staff start stops either search (play resumes
  // at item 1).
  int NextPlayIndexIn(TStaffContextState& state, TStaffItemSpan items, int index) const;

  int GetStyle() const { return style; }
  int GetRepeat() const { return repeat; }
  // Repeat becomes 1 for every style but LocalRepeatClose, which takes the count when it is
  // above 1 (at most 255) and 2 otherwise. The style is masked to 5 bits.
  void SetStyle(int style, int repeat = 1);
  // The bar line that ends a staff from its ending-bar setting (TStaffEndBar; other values
  // count as Section Close): style, Repeat 1, Visibility Default.
  void SetStaffEndStyle(int kind);

  bool IsSysBreak() const { return sysBreak != 0; }
  void SetSysBreak(bool on) { sysBreak = on ? 1 : 0; }
  // Set by the staff audit when the bar line opens no bar of its own.
  bool IsNotABar() const { return notABar != 0; }
  void SetNotABar(bool on) { notABar = on ? 1 : 0; }
  // The bar is left out of bar numbering ("XBarCnt").
  bool IsXBarCnt() const { return xBarCnt != 0; }
  void SetXBarCnt(bool on) { xBarCnt = on ? 1 : 0; }

  static bool IsRepeatOpen(int style) { return style == kBarLocalRepeatOpen || style == kBarMasterRepeatOpen; }
  static bool IsRepeatClose(int style) { return style == kBarLocalRepeatClose || style == kBarMasterRepeatClose; }
  static bool IsSectionEnd(int style) {
    return style == kBarSectionClose || style == kBarLocalRepeatClose || style == kBarMasterRepeatClose;
  }
  static bool IsOpening(int style) {
    return style == kBarSectionOpen || style == kBarLocalRepeatOpen || style == kBarMasterRepeatOpen;
  }
  bool IsRepeatOpen() const { return IsRepeatOpen(GetStyle()); }
  bool IsRepeatClose() const { return IsRepeatClose(GetStyle()); }
  bool IsSectionEnd() const { return IsSectionEnd(GetStyle()); }
  bool IsOpening() const { return IsOpening(GetStyle()); }
  // SectionClose 4, LocalRepeatClose 6, MasterRepeatClose 8; kBarNoOpeningStyle otherwise.
  int GetOpeningStyle() const;

private:
  // Index of the item after the opening bar of the repeat closed at `index`, or index + 1
  // when the repeat is not taken.
  int FindLocalRepeatTarget(TStaffItemSpan items, int index) const;
  int FindMasterRepeatTarget(TStaffItemSpan items, int index) const;

  uint16_t style : 5;
  uint16_t sysBreak : 1;
  uint16_t notABar : 1;
  uint16_t xBarCnt : 1;
  uint16_t repeat : 8;
};

}  // namespace kvt
