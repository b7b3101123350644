#pragma once
// The edits the editing view's keys make directly (not through a command id): Delete and
// Backspace, Insert (a spacer, or 25 more width on the spacer at the caret), Ctrl+Shift+Up and
// Down (the selection moves a step), and the caret moves of Ctrl+Left and Ctrl+Right. Every
// change writes its undo entry first; an edit that cannot act beeps and changes nothing (no
// undo entry, the redo history kept).

namespace kvt {

class TScoreEdit;

// How much Insert widens a spacer, and the width of a new one.
inline constexpr int kSpacerStep = 25;
inline constexpr int kNewSpacerWidth = 50;

// Delete: the selection, else the item at the caret (beep at the staff's end). Undo kind 7
// sub-code 2.
bool DeleteForward(TScoreEdit& view);
// Backspace: the selection, else the item before the caret (beep at index 1). Undo kind 7
// sub-code 1.
bool DeleteBackward(TScoreEdit& view);
// Insert: 25 more on the spacer at or before the caret (undo kind 7 sub-code 6 with the change
// applied), else a new spacer of width 50 inserted with command 132. Beeps when the view may not
// edit or a selection exists.
bool InsertSpacer(TScoreEdit& view);
// Ctrl+Shift+Up/Down: the selected items move `steps` (undo kind 7 sub-code 4).
bool ShiftSelection(TScoreEdit& view, int steps);
// Ctrl+Left/Right: the caret goes to the item after the previous or next bar line.
void MoveCaretByBar(TScoreEdit& view, int dir, bool extend);

}  // namespace kvt
