#pragma once
// Drawing of notes, rests, chords and rest chords at their draw position: accidentals in
// their columns, heads, ledger lines, stems with flags (unbeamed), articulations, duration
// dots and ties. Beamed stems are drawn with their beam group (draw/layout/beam_drawing.h).
//
// Contract: called inside a drawing phase of `fonts` with the staff origin set to the staff's
// middle line and the staff colour selected; the colour in force on entry is restored before
// returning. `left` is the x of the item's draw position.

#include "draw/music_fonts.h"

namespace kvt {

class TSongNote;
class TMusicNote;
class TRestChord;
class TStaffDrawInfo;
class TStaffDrawPos;

void DrawSongNote(TMusicFonts& fonts, TStaffDrawInfo& layout, const TStaffDrawPos& pos,
                  const TSongNote& item, int left);

// The rest of a rest chord moved clear of its chord part, in steps (0 without a part); even.
int RestChordRestOffset(const TRestChord& restChord);
// The staff position of a note's dots: a space keeps its position; a line moves to the space
// above (below for a down stem in a stem group, or by the stem direction when split), away
// from the partner's position.
int DotPosition(const TMusicNote& note, int partnerPosition, bool stemsGrouped, bool split);
// Whether a stem-up flagged note's first dot must stand after its flag.
bool NeedsDotPastFlag(const TMusicNote& note);

}  // namespace kvt
