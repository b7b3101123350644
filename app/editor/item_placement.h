#pragma once
// Where an item inserted through its property dialog goes on the staff when the application
// places items automatically ("SmartInsertionPt"): the place of the nearest earlier item of its
// kind, else a default place for its kind.
//
// Contract: reads the score only; indices outside a staff find nothing.

namespace kvt {

class TMusicScore;
class TMusicStaff;
class TNotatedItem;

// The staff's boundaries in force before item `index` (the last boundary change of style
// NewSize before it, undone by a Reset; else the staff's own), as positive sizes above and
// below the middle line.
void BoundariesAt(const TMusicStaff& staff, int index, int& upper, int& lower);

// The nearest earlier item `like` would match: of the same kind, a text of the same text and
// font, a tempo variance of the same style. Searched back from the caret in the active staff,
// then in every other staff back from the caret's time. Null when none.
const TNotatedItem* FindEarlierLike(const TMusicScore& score, int activeStaff, int caret,
                                    const TNotatedItem& like);

// Gives the item the position of FindEarlierLike, else its kind's default place:
// - a position inside the staff's boundaries at the caret, narrowed by 3, moves to 4 beyond
//   that narrowed boundary on the side of its sign (text items keep theirs);
// - flow directions by style (0: -7, 2: 8, 4 to 6: -10), tempo variances by style (0: -8,
//   1: -4, 2: -9);
// - flow directions, tempo variances, instrument changes, sustain pedals and multi-point
//   controllers take their kind's default Wide, justification and placement rule.
void PlaceAutomatically(TNotatedItem& item, const TMusicScore& score, int activeStaff, int caret);

}  // namespace kvt
