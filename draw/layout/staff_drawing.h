#pragma once
// Drawing of one laid-out staff of a score layout: its staff lines in segments broken by gaps,
// the system's left edge (on the first staff), its lyrics and every item in its colour.
//
// Contract: the score layout's fonts are in a drawing phase; the staff is laid out. Drawing
// walks only the staff's positions, so any layout draws in bounded time.

#include "draw/device_context.h"
#include "draw/layout/staff_draw_info.h"

namespace kvt {

class TScoreDrawInfo;

struct TDrawSpan {
  int left = 0;
  int right = 0;
};

// Draws staff `slot` of the layout with its first position at leftX and the layout's y 0 at
// yOffset; the walk ends after the first bar line right of span.right.
void DrawStaff(TScoreDrawInfo& score, int slot, const TDrawSpan& span, int leftX, int yOffset);

// Draws staff `slot` into a rectangle (the editor's single-staff views): its top extent at
// rect.top, its first position at rect.left, the walk ending past rect.right.
void DrawStaffInRect(TScoreDrawInfo& score, int slot, const TDcRect& rect);

// Redraws one item of a laid-out staff (the play highlight, a caret move): the item at `at`
// (a later bar of a multi-bar rest at its own position) at its layout x plus x, with the
// layout's y 0 at yOffset, in colorOverride (-1: the item's colour rule) for notes, rests and
// chords (other items keep their own rule), then its syllables on lyric lines 1 .. lyricLines.
// A hidden item is drawn only when hidden items are shown; an item not laid out draws nothing.
// The staff colour is selected afterwards.
void DrawItemAt(TScoreDrawInfo& score, int slot, const TLayoutStart& at, int x, int yOffset,
                int colorOverride, int lyricLines);

// The syllable of lyric line `line` (0-based) at position n, with the position at x.
void DrawSyllable(TScoreDrawInfo& score, int slot, int n, int line, int x);

// The system's left edge: brackets, braces, the system line and the system's bar number.
void DrawSystemStart(TScoreDrawInfo& score, int x, int yOffset);

// The staff position of lyric line k (0-based) of staff `slot`.
float GetLyricLinePosition(TScoreDrawInfo& score, int slot, int line);

// The syllables of every lyric line under (or over) their notes, with hyphens.
void DrawLyrics(TScoreDrawInfo& score, int slot, const TDrawSpan& span, int leftX);

}  // namespace kvt
