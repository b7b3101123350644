#pragma once
// The note popup (position 7 of "DynamicMenus"): a right click on a note head offers the tie,
// the colour, the accidental and the note head of that one chord member, its state checked.
// A choice changes the member after an undo entry of kind 7 ("Notehead Change", sub-code 7,
// for a head; "Property Change", sub-code 8, otherwise), with the caret standing after the
// item (so the entry covers its bar), re-audits the bar and lays the staff out again.
//
// Actions are named for tests: "tie", "color0".."color7", "accidental0".."accidental4"
// (the accidental codes), "head0".."head13". UI thread only.

#include <memory>

class QMenu;

namespace kvt {

class TScoreEdit;

struct TNoteChoice {
  enum TKind : int { kTie, kColor, kAccidental, kHead };
  TKind kind = kTie;
  // Colour 0..7, accidental code 0..4, head shape 0..13; the tie toggles.
  int value = 0;
};

// The popup for member `member` of the active staff's item `itemIndex`; null when that is not
// a note or chord member.
std::unique_ptr<QMenu> BuildNotePopup(TScoreEdit& view, int itemIndex, int member);

// Applies a choice (as its item does). False, with a beep when the editor may not edit, when
// the item or member is not there or nothing could be recorded.
bool ApplyNoteChoice(TScoreEdit& view, int itemIndex, int member, const TNoteChoice& choice);

}  // namespace kvt
