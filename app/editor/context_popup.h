#pragma once
// The editing view's context popups: which one a right click or the context-menu key shows,
// built as a QMenu before it is shown (so tests look at it without running it).
//
// A right click without a selection (and without the middle button held) on a note head of
// the active staff gives the note popup (position 7); on a user object of the active staff,
// from 2.2 half-spaces below to 1 above its position, the object's own popup (also with a
// selection that holds the object: its undo entry then covers the selection). Otherwise: 16
// for one selected user object, 2 for another selection, 1 inside a staff (the caret moves
// there first when the option rightMouseSetsCaret is on), else 3 (staff commands). The
// context-menu key shows 1 without a selection, 16 for one user object, else 2, at the caret.
//
// UI thread only; the menu does not outlive the view.

#include <QPoint>
#include <memory>

class QMenu;

namespace kvt {

class TScoreEdit;

// Positions of the popups ("DynamicMenus").
inline constexpr int kPopupInsert = 1;
inline constexpr int kPopupSelection = 2;
inline constexpr int kPopupStaff = 3;
inline constexpr int kPopupNote = 7;
inline constexpr int kPopupUserObject = 16;
// A user object's own popup (built from its plug-in, not from the table).
inline constexpr int kPopupObjectOwn = -1;

struct TContextPopup {
  int position = 0;
  std::unique_ptr<QMenu> menu;
  // Where it shows, in viewport coordinates.
  QPoint at;
};

// The popup of a right click at a viewport point; middleHeld: the middle button is down.
TContextPopup PrepareMousePopup(TScoreEdit& view, QPoint at, bool middleHeld);
// The popup of the context-menu key, at the caret.
TContextPopup PrepareKeyboardPopup(TScoreEdit& view);

// The active staff's item whose note head holds the point: its index and chord member; false
// when none.
bool FindNoteHeadAt(TScoreEdit& view, QPoint at, int& itemIndex, int& member);
// The active staff's user object under the point (its drawn width, 2.2 half-spaces below to 1
// above its position); 0 when none.
int FindUserObjectAt(TScoreEdit& view, QPoint at);

}  // namespace kvt
