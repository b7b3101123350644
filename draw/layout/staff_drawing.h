#pragma once
// Drawing of one laid-out staff of a score layout: its staff lines in segments broken by gaps,
// the system's left edge (on the first staff), its lyrics and every item in its colour.
//
// Contract: the score layout's fonts are in a drawing phase; the staff is laid out. Drawing
// walks only the staff's positions, so any layout draws in bounded time.

namespace kvt {

class TScoreDrawInfo;

struct TDrawSpan {
  int left = 0;
  int right = 0;
};

// Draws staff `slot` of the layout with its first position at leftX and the layout's y 0 at
// yOffset; the walk ends after the first bar line right of span.right.
void DrawStaff(TScoreDrawInfo& score, int slot, const TDrawSpan& span, int leftX, int yOffset);

// The system's left edge: brackets, braces, the system line and the system's bar number.
void DrawSystemStart(TScoreDrawInfo& score, int x, int yOffset);

// The staff position of lyric line k (0-based) of staff `slot`.
float GetLyricLinePosition(TScoreDrawInfo& score, int slot, int line);

// The syllables of every lyric line under (or over) their notes, with hyphens.
void DrawLyrics(TScoreDrawInfo& score, int slot, const TDrawSpan& span, int leftX);

}  // namespace kvt
