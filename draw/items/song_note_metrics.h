#pragma once
// Measures of notes, rests, chords and rest chords: the widths the staff layout spaces with
// and the offsets of head, stem and accidentals inside an item's width. Every measure is in
// logical units from the item's left x; `accColumns` is the accidental-column count of the
// item's draw position (its accidental space when the position was filled).
//
// Sizes: a grace item is measured at size index 1, every other at 0. None of these reads
// or changes layout state; items of other kinds measure 0 (callers dispatch by type first).

#include "draw/layout/layout_metrics.h"

namespace kvt {

class TNotatedItem;
class TSongNote;
class TMusicNote;
class TChordData;

// The note or chord of an item, or a rest chord's chord part; null for rests and other kinds.
const TMusicNote* NotesOf(const TSongNote& item);
// 1 for a grace item, else 0.
int SizeIndexOf(const TSongNote& item);
// Glyph of the item's head (a rest chord: its chord part's); -1 for a plain rest.
int HeadGlyphOf(const TNotatedItem& item);

// The width of the duration dots: 0 without dots, truncate(1.5 Dw) dotted,
// truncate(truncate(1.5 Dw) + 1.5 Dw) double dotted (Dw the dot glyph's width).
int SongNoteDotsWidth(const TSongNote& item, const TLayoutMetrics& m);
// Accidental columns x column width + XNoteSpace x filled-head width.
int SongNoteHeadX(const TSongNote& item, int accColumns, const TLayoutMetrics& m);
// The item's width: heads (with their shifted column), a rest's glyph, or the larger of a
// rest chord's rest and chord part.
int SongNoteWidth(const TSongNote& item, int accColumns, const TLayoutMetrics& m);
// Accidental columns the item needs: a note its XAccSpace plus one for a shown accidental;
// a chord its XAccSpace plus the columns its accidentals take (ChordAccidentalLayout); a rest
// chord its chord part's; a rest 0.
int SongNoteAccidentalSpace(const TSongNote& item);
// The head offset plus one head width when the item has shifted heads on its down side and
// is not stem up without split stems.
int SongNoteHeadXWithShift(const TSongNote& item, int accColumns, const TLayoutMetrics& m);
// Offset of the stem from the item's left x for a stem direction (0: the item's own).
int SongNoteStemX(const TSongNote& item, int accColumns, int stemDir, const TLayoutMetrics& m);
// The default stem length in steps (explicit length when set; whole notes 0; grace 2/3).
int CalcStemLength(const TMusicNote& note);

}  // namespace kvt
