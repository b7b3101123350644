#pragma once
// The option bits of property dialogs, wizards and their tab control. Callers pass them as
// numbers too (128 | 1024 for pages made on demand with the buttons on the right), so the
// values are fixed.

#include <cstdint>

namespace kvt {

inline constexpr uint32_t ptsNone = 0;
inline constexpr uint32_t ptsDefault = 0;
inline constexpr uint32_t ptsTwoLineLabels = 0x1;          // labels may wrap to two lines
inline constexpr uint32_t ptsFixedWidth = 0x2;             // every tab has the minimum width
inline constexpr uint32_t ptsColoredSelection = 0x4;       // selected tab in the selection colour
inline constexpr uint32_t ptsHideDisabled = 0x8;           // disabled tabs are not shown
inline constexpr uint32_t ptsStretch = 0x10;               // tabs widened to fill their row
inline constexpr uint32_t ptsMultiRow = 0x20;              // tabs wrap into rows
inline constexpr uint32_t ptsKeepCreatedPages = 0x40;      // set-up leaves existing pages alone
inline constexpr uint32_t ptsPagesOnDemand = 0x80;         // page exists only while selected
inline constexpr uint32_t ptsWidePadding = 0x100;          // tabs wider by twice the padding
inline constexpr uint32_t ptsResizable = 0x200;            // tab control follows dialog size
inline constexpr uint32_t ptsButtonsRight = 0x400;         // buttons in a column on the right
inline constexpr uint32_t ptsAnsiVarFont = 0x800;          // every control in the system font
inline constexpr uint32_t ptsApplyOnLeave = 0x1000;        // page applied when its tab is left
inline constexpr uint32_t ptsEmbedded = 0x2000;            // OK and Cancel do not close
inline constexpr uint32_t ptsNoTabs = 0x4000;              // no visible tab strip (wizard)
inline constexpr uint32_t ptsTabImages = 0x8000;           // tabs show images of a strip
inline constexpr uint32_t ptsCentered = 0x10000;           // centred on the screen at set-up
inline constexpr uint32_t ptsCreateOnShow = 0x20000;       // page made when first selected
inline constexpr uint32_t ptsFocusPageFirst = 0x40000;     // focus into the page, not the strip
inline constexpr uint32_t ptsValidateUncreated = 0x80000;  // on-demand pages checked on OK

}  // namespace kvt
